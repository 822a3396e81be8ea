// The main window's side of the calendar's marks: the days with a note from the store and from typing,
// the rest and work days of the user's holiday files, and the switches remembered across starts.
#include "MainWindowFixture.h"

#include "ChnCalendarPicker.h"
#include "RtfCodec.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

using namespace quenda;
using namespace quenda::test;

namespace {

using CalendarMarksTest = MainWindowTest;

TEST_F(CalendarMarksTest, StoredNotesAreMarkedAndTheTypedDayFollowsTheEditor) {
    QTextDocument seeded;
    seeded.setPlainText(QStringLiteral("十五号"));
    Exec(QStringLiteral("insert into UserCon values ('20130115', x'%1'), ('20130116', x'%2')")
             .arg(QString::fromLatin1(writeRtf(seeded).toHex()),
                  QString::fromLatin1(QByteArray(" \r\n").toHex())));
    CreateAndShow();
    const TChnCalendar& calendar = m_form->chnTavi();
    EXPECT_TRUE(calendar.MarksOf(QDate(2013, 1, 15)).hasNote);
    EXPECT_FALSE(calendar.MarksOf(QDate(2013, 1, 16)).hasNote); // blanks only
    EXPECT_FALSE(calendar.MarksOf(QDate(2013, 1, 2)).hasNote);
    Commit(QStringLiteral("记"));
    EXPECT_TRUE(calendar.MarksOf(QDate(2013, 1, 2)).hasNote);
    QTest::keyClick(&m_form->rdtAbc(), Qt::Key_Backspace);
    EXPECT_FALSE(calendar.MarksOf(QDate(2013, 1, 2)).hasNote);
    EXPECT_EQ(StoredText("20130102"), "");
}

TEST_F(CalendarMarksTest, AUsersHolidayFileAddsDaysAndItsBadLineIsToldOnce) {
    WriteFile("Data/holidays/2013.tsv", "2013-01-04\t休\t测试\n2013-01-05\t班\n2013-01-06\t班\t测试\n");
    CreateAndShow();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains("2013.tsv") && m_messages[0].contains("第2行"))
        << m_messages[0].toStdString();
    EXPECT_EQ(m_form->chnTavi().MarksOf(QDate(2013, 1, 4)).holiday, QStringLiteral("测试 休"));
    EXPECT_EQ(m_form->chnTavi().MarksOf(QDate(2013, 1, 6)).holiday, QStringLiteral("测试 班"));
    m_form->hide();
    Show();
    EXPECT_EQ(m_messages.size(), 1);
}

TEST_F(CalendarMarksTest, SwitchesAreRememberedInSettingsIniAndFormSizeIniKeepsItsFormat) {
    CreateAndShow();
    QMenu& menu = m_form->chnTavi().OptionsMenu();
    menu.findChild<QAction*>("MenuMondayFirst")->trigger();
    menu.findChild<QAction*>("MenuShowHolidays")->trigger();
    ASSERT_TRUE(m_form->img_close_highlightClick());
    Destroy();
    EXPECT_EQ(ReadFile("Data/FormSize.ini").count("\r\n"), 5);
    EXPECT_TRUE(ReadFile("Data/Settings.ini").contains("mondayFirst=true"));
    CreateAndShow();
    EXPECT_TRUE(m_form->chnTavi().MondayFirst());
    EXPECT_FALSE(m_form->chnTavi().ShowHolidays());
    EXPECT_TRUE(m_form->chnTavi().ShowNoteMarks());
}

} // namespace
