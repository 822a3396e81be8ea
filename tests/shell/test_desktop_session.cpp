// The main window on a desktop session: the tray icon (its day, tooltip, turn at midnight, click and
// menu) and the options menu's item that starts the program at login.
#include "MainWindowFixture.h"

#include "Autostart.h"
#include "Clock.h"
#include "TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace quenda;
using namespace quenda::test;

TEST(TrayToolTip, GivesTheDateTheWeekdayAndTheLunarDate) {
    struct Case {
        TDateTime day;
        const char* text;
    };
    const Case cases[] = {
        {EncodeDate(2026, 12, 10), "12月10日 星期四 农历冬月初二"},
        {EncodeDate(2024, 2, 10) + 0.75, "2月10日 星期六 农历正月初一"},
        {EncodeDate(2023, 3, 22), "3月22日 星期三 农历闰二月初一"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrayToolTip(c.day), QString::fromUtf8(c.text)) << c.text;
}

TEST_F(MainWindowTest, TheTrayIconTurnsToTheNewDayAtMidnight) {
    CreateAndShow();
    // A clock that runs from a second before midnight.
    QElapsedTimer running;
    running.start();
    const TDateTime start = EncodeDate(2026, 12, 11) - 1.0 / 86400;
    Clock::SetNowForTesting([&] { return start + running.elapsed() / 86400000.0; });
    TrayIcon tray(*m_form);
    EXPECT_EQ(tray.ShownDay(), 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tray.ShownDay() == 11; }, 5000));
    EXPECT_EQ(tray.ToolTip(), QString::fromUtf8("12月11日 星期五 农历冬月初三"));
    Clock::SetNowForTesting([] { return kTestNow; }); // before the clock's variables go
}

TEST_F(MainWindowTest, AClickOnTheTrayIconHidesAndShowsTheWindowAndItsMenuShowsItToo) {
    CreateAndShow();
    TrayIcon tray(*m_form);
    QStringList items;
    for (const QAction* item : tray.Menu().actions())
        items << (item->isSeparator() ? QStringLiteral("-") : item->objectName() + ":" + item->text());
    EXPECT_EQ(items,
              (QStringList{"N_TrayShow:显示窗口", "N_TrayAppToDesk:添加到桌面", "-", "N_TrayExit:退出程序"}));
    tray.Show();
    tray.ToggleWindow();
    EXPECT_FALSE(m_form->isVisible());
    // Hidden in the tray, the window still holds the program: closing a message box must not end it.
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    tray.ToggleWindow();
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
    m_form->showMinimized();
    tray.ToggleWindow(); // a minimised window comes back rather than hiding
    EXPECT_TRUE(m_form->isVisible() && !m_form->isMinimized());
    m_form->hide();
    tray.Menu().actions().first()->trigger();
    EXPECT_TRUE(m_form->isVisible());
}

TEST_F(MainWindowTest, TheAutostartItemWritesAndRemovesTheEntryAndFollowsTheDesktop) {
    qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
    CreateAndShow();
    QAction& item = m_form->N_Autostart();
    ASSERT_TRUE(item.isCheckable());
    item.trigger();
    EXPECT_TRUE(item.isChecked());
    QFile entry(AutostartEntryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains(
        ("\nExec=" + DesktopExecArgument(QCoreApplication::applicationFilePath()) + " --minimized\n")
            .toUtf8()));
    item.trigger();
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));

    ASSERT_EQ(SetAutostart(true, {"quenda-calendar"}), std::nullopt); // switched on by hand
    emit m_form->popSysset().aboutToShow();
    EXPECT_TRUE(item.isChecked());
    ASSERT_EQ(SetAutostart(false, {}), std::nullopt);
    ASSERT_TRUE(QDir(Path("config")).rmdir("autostart"));
    QFile blocker(Path("config/autostart")); // a file where the folder should be: the entry cannot be written
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    emit m_form->popSysset().aboutToShow();
    item.trigger();
    EXPECT_FALSE(item.isChecked());
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages.first().contains(QString::fromLatin1(kDesktopId)));
    qunsetenv("XDG_CONFIG_HOME");
}
