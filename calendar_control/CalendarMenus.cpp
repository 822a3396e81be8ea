#include "CalendarMenus.h"

#include <QAction>
#include <QDate>
#include <QMenu>

namespace quenda {

namespace {

QAction* AddItem(QMenu& menu, const QString& caption, const QString& name) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    return action;
}

void AddSeparator(QMenu& menu, const QString& name) {
    menu.addSeparator()->setObjectName(name);
}

void AddToday(QMenu& menu, const QString& name) {
    QAction* today = AddItem(menu, QStringLiteral("今日"), name);
    QFont bold = menu.font();
    bold.setBold(true);
    today->setFont(bold);
    menu.setDefaultAction(today);
}

QMenu* AddGroup(QMenu& menu, const QString& caption, const QString& name) {
    QMenu* group = menu.addMenu(caption);
    group->setObjectName(name);
    group->menuAction()->setObjectName(name);
    return group;
}

void AddYears(QMenu& group, int first, int step, const QString& prefix) {
    for (int k = 0; k < 10; ++k) {
        const int year = first + k * step;
        AddItem(group, QString::number(year), prefix + QString::number(year))->setData(year);
    }
}

} // namespace

void BuildMonthMenu(QMenu& menu, const QLocale& locale) {
    AddToday(menu, QStringLiteral("MenuMonth_ToDay"));
    AddSeparator(menu, QStringLiteral("MenuMonth_ToDay_"));
    for (int month = 1; month <= 12; ++month) {
        const QString caption = locale.toString(QDate(2004, month, 1), QStringLiteral("MMMM"));
        AddItem(menu, caption, QStringLiteral("MenuMonth_%1").arg(month - 1))->setData(month);
    }
}

void BuildYearMenu(QMenu& menu) {
    AddToday(menu, QStringLiteral("MenuYear_ToDay"));
    AddSeparator(menu, QStringLiteral("MenuYear_ToDay_1"));
    QMenu* history = AddGroup(menu, QStringLiteral("历史日期"), QStringLiteral("MenuYear_History"));
    // Each century group is named after its first year, the number its caption shows plus ten.
    for (int g = 10; g <= 1810; g += 100) {
        const QString name = QStringLiteral("MenuYear_History_%1").arg(g);
        AddYears(*AddGroup(*history, QString::number(g - 10), name), g, 10,
                 QStringLiteral("MenuYear_History_"));
    }
    AddSeparator(menu, QStringLiteral("MenuYear_ToDay_2"));
    for (int d = 1900; d <= 2090; d += 10) {
        const QString name = QStringLiteral("MenuYear_%1").arg(d);
        AddYears(*AddGroup(menu, QString::number(d), name), d, 1, QStringLiteral("MenuYear_"));
    }
}

QLocale CalendarLocale() {
    return QLocale(QLocale::Chinese, QLocale::China);
}

} // namespace quenda
