#include "KeepDialogs.h"

#include "NoteImport.h"
#include "SearchWindow.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenda {

namespace {

QDialogButtonBox* Buttons(QDialog* dialog, const QString& okCaption) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QStringLiteral("btnsOkCancel"));
    buttons->button(QDialogButtonBox::Ok)->setText(okCaption);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取  消"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QDateEdit* DayField(QWidget* parent, const char* name, QDate day) {
    auto* field = new QDateEdit(day, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    field->setDateRange(QDate(1, 1, 1), QDate(2100, 12, 31));
    field->setCalendarPopup(true);
    field->setEnabled(false);
    return field;
}

} // namespace

TExportFrm::TExportFrm(QDate today, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportFrm"));
    setWindowTitle(QStringLiteral("导出记事"));
    m_range = new QCheckBox(QStringLiteral("只导出这些日子的记事："), this);
    m_range->setObjectName(QStringLiteral("chkRange"));
    m_from = DayField(this, "dtpFrom", QDate(today.year(), 1, 1));
    m_to = DayField(this, "dtpTo", today);
    auto* days = new QFormLayout;
    days->addRow(QStringLiteral("从"), m_from);
    days->addRow(QStringLiteral("到"), m_to);
    auto* column = new QVBoxLayout(this);
    auto* hint = new QLabel(QStringLiteral("记事导出为 iCalendar 文件（.ics），每天一篇日志，"
                                           "Evolution 的备忘和 KOrganizer 的日志都能读。"), this);
    hint->setWordWrap(true);
    column->addWidget(hint);
    column->addWidget(m_range);
    column->addLayout(days);
    column->addWidget(Buttons(this, QStringLiteral("导  出")));
    connect(m_range, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_range, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
}

std::pair<std::optional<QDate>, std::optional<QDate>> TExportFrm::Range() const {
    if (!m_range->isChecked()) return {};
    return {std::min(m_from->date(), m_to->date()), std::max(m_from->date(), m_to->date())};
}

TImportFrm::TImportFrm(const QString& fileName, const ImportPlan& plan, const IcsContent& content, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ImportFrm"));
    setWindowTitle(QStringLiteral("导入记事"));
    resize(440, 380);
    auto* file = new QLabel(QStringLiteral("从 %1 导入：").arg(QFileInfo(fileName).fileName()), this);
    m_summary = new QLabel(ImportSummary(plan, content), this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_days = new QListWidget(this);
    m_days->setObjectName(QStringLiteral("lstDays"));
    const std::pair<const QStringList*, QString> groups[] = {{&plan.newDays, QStringLiteral("新建")},
                                                             {&plan.appendedDays, QStringLiteral("追加")},
                                                             {&plan.skippedDays, QStringLiteral("跳过")}};
    for (const auto& [keys, fate] : groups)
        for (const QString& key : *keys)
            m_days->addItem(QStringLiteral("%1    %2").arg(fate, FoundDayHeading(key)));
    auto* column = new QVBoxLayout(this);
    column->addWidget(file);
    column->addWidget(m_summary);
    column->addWidget(m_days, 1);
    auto* note = new QLabel(QStringLiteral("已有的记事不会被替换：导入的文字加在它下面的分隔线之后。"), this);
    note->setWordWrap(true);
    column->addWidget(note);
    QDialogButtonBox* buttons = Buttons(this, QStringLiteral("导  入"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!plan.newDays.isEmpty() || !plan.appendedDays.isEmpty());
    column->addWidget(buttons);
}

} // namespace quenda
