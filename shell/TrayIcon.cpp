#include "TrayIcon.h"

#include "AppIcon.h"
#include "ChnCalendarUse.h"
#include "Clock.h"
#include "uMain.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace quenda {

namespace {

constexpr double kMsPerDay = 86400000.0;
// The icon checks the date (and that its tray is still there) at least this often: a timer set for
// midnight runs late after the machine slept, and the clock may be set forward.
constexpr int kLongestWaitMs = 60000;
} // namespace

QString TrayToolTip(TDateTime now) {
    TChnCal info;
    info.Fill(now);
    const CivilDate day = DecodeDate(now);
    // The calendar's cells shorten a leap month to "闰二"; a sentence says "闰二月".
    QString month = QString::fromStdString(info.LunarMonthText);
    if (month.startsWith(QStringLiteral("闰"))) month += QStringLiteral("月");
    return QStringLiteral("%1月%2日 %3 农历%4%5")
        .arg(day.month)
        .arg(day.day)
        .arg(LongWeekdayText(now), month, QString::fromStdString(info.LunarDayText));
}

TrayIcon::TrayIcon(TMainFrm& window) : m_window(window) {
    m_icon.setObjectName(QStringLiteral("trayIcon"));
    CreateMenu();
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) ToggleWindow();
    });
    m_dayTimer.setSingleShot(true);
    connect(&m_dayTimer, &QTimer::timeout, this, &TrayIcon::ShowToday);
    ShowToday();
    m_window.installEventFilter(this);
}

TrayIcon::~TrayIcon() {
    QApplication::setQuitOnLastWindowClosed(true);
}

bool TrayIcon::DesktopHasTray() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::Show() {
    m_icon.show();
    FollowWindow();
}

// Qt ends the program when the last visible window closes; a window hidden in the tray still counts.
void TrayIcon::FollowWindow() {
    QApplication::setQuitOnLastWindowClosed(!(m_icon.isVisible() && m_window.isHidden()));
}

bool TrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        FollowWindow();
    return QObject::eventFilter(watched, event);
}

void TrayIcon::CreateMenu() {
    m_menu = std::make_unique<QMenu>();
    m_menu->setObjectName(QStringLiteral("pmTray"));
    auto add = [this](const char* name, const char* caption, auto handler) {
        QAction* item = m_menu->addAction(QString::fromUtf8(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, &m_window, handler);
    };
    add("N_TrayShow", "显示窗口", &TMainFrm::ShowFromTray);
    add("N_TrayAppToDesk", "添加到桌面", &TMainFrm::imgAppToDeskClick);
    m_menu->addSeparator();
    add("N_TrayExit", "退出程序", &TMainFrm::N_ExitPrjClick);
    m_icon.setContextMenu(m_menu.get());
}

void TrayIcon::ToggleWindow() {
    if (m_window.isVisible() && !m_window.isMinimized())
        m_window.hide();
    else
        m_window.BringToFront();
}

void TrayIcon::ShowToday() {
    const TDateTime now = Clock::Now();
    const int day = DecodeDate(now).day;
    if (day != m_day) m_icon.setIcon(AppIconSet(QString::number(day)));
    m_day = day;
    m_icon.setToolTip(TrayToolTip(now));
    // A window hidden in a tray that has gone (its panel ended) would be out of reach.
    if (m_window.isHidden() && m_icon.isVisible() && !DesktopHasTray()) m_window.BringToFront();
    ArmDayTimer();
}

void TrayIcon::ArmDayTimer() {
    const double now = Clock::Now();
    const double untilMidnight = (std::floor(now) + 1 - now) * kMsPerDay;
    // A few milliseconds past midnight, so the new day has begun when the timer runs.
    m_dayTimer.start(std::clamp(static_cast<int>(std::ceil(untilMidnight)) + 5, 5, kLongestWaitMs));
}

} // namespace quenda
