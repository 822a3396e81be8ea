// The marks of the month calendar: Monday-first weeks, the 休 and 班 badges, the dot of a day with a
// note, the footer's holiday, the options menu, and the unchanged drawing with everything off.
#include "CalendarLayout.h"
#include "CalendarMarks.h"
#include "TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quenda {
namespace {

const TDateTime kNow = EncodeDate(2026, 10, 8) + 0.375; // a Thursday, between 国庆节 and its 班 day

TEST(MondayFirst, DaysShiftOneColumnLeftAndEveryRowIsOneIsoWeek) {
    const struct {
        int year, month, firstCell;
        std::vector<QString> weeks;
    } cases[] = {
        {2023, 1, 7, {"52", "1", "2", "3", "4", "5"}}, // the 1st a Sunday: the last column
        {2026, 10, 4, {"40", "41", "42", "43", "44", ""}},
        {2021, 2, 1, {"5", "6", "7", "8", "", ""}}, // four whole weeks
    };
    for (const auto& c : cases) {
        TDayTable table;
        TChnCal info;
        info.Fill(EncodeDate(c.year, c.month, 1));
        FillMonth(table, info, c.year, c.month, 1, DayColours{}, {}, {true, nullptr});
        EXPECT_TRUE(table.Cells(c.firstCell).Valid && table.Cells(c.firstCell).Day == 1) << c.year;
        std::vector<QString> weeks;
        for (int row = 1; row <= kWeekRows; ++row)
            weeks.push_back(table.WeekNumbers(row));
        EXPECT_EQ(weeks, c.weeks) << c.year << "-" << c.month;
        for (int n = 1; n <= kLastDayCell; ++n) // Saturday and Sunday are columns 6 and 7
            EXPECT_EQ(table.Cells(n).DayColor == 255, CellPosOf(n).column >= 6) << n;
    }
}

std::shared_ptr<HolidayTable> October2026() {
    auto table = std::make_shared<HolidayTable>();
    std::vector<SkippedLine> skipped;
    table->AddText("2026-10-01\t休\t国庆节\n2026-10-07\t休\t国庆节\n2026-10-10\t班\t国庆节\n", "t", skipped);
    return table;
}

QRect DayRect(const TChnCalendar& calendar, int day) {
    for (int n = 1; n <= kLastDayCell; ++n)
        if (calendar.Cells().Cells(n).Valid && calendar.Cells().Cells(n).Day == day)
            return CellRect(calendar.DayGrid().Sizes(), CellPosOf(n).column, CellPosOf(n).row);
    return {};
}

// The share of a rectangle's pixels within 60 of a colour in every channel.
double ShareNear(const QImage& image, const QRect& rect, QColor colour) {
    int near = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            near += std::abs(p.red() - colour.red()) < 60 && std::abs(p.green() - colour.green()) < 60 &&
                    std::abs(p.blue() - colour.blue()) < 60;
        }
    return double(near) / (rect.width() * rect.height());
}

struct MarkedCalendar {
    std::unique_ptr<TChnCalendar> calendar = test::MakeCalendar(kNow);
    int queries = 0;
    MarkedCalendar() {
        calendar->SetHolidays(October2026());
        calendar->SetNoteDaysProvider([this](QDate first, QDate last) {
            ++queries;
            const QDate day(2026, 10, 15);
            return std::optional(day >= first && day <= last ? QSet<QDate>{day} : QSet<QDate>{});
        });
    }
    QRect Badge(int day) const { return HolidayMarkRect(DayRect(*calendar, day)); }
    QRect Dot(int day) const {
        const QRect dot =
            NoteMarkRect(DayRect(*calendar, day), calendar->FontDate(), QString::number(day), false);
        return dot.adjusted(1, 1, -1, -1); // the disc's middle
    }
};

TEST(Marks, BadgesAndTheNoteCornerAreDrawnOnlyWhileSwitchedOn) {
    MarkedCalendar m;
    QImage grid = test::GridImage(*m.calendar);
    EXPECT_GT(ShareNear(grid, m.Badge(1), QColor(22, 150, 62)), 0.3);
    EXPECT_GT(ShareNear(grid, m.Badge(10), QColor(222, 38, 38)), 0.3);
    EXPECT_LT(ShareNear(grid, m.Badge(2), QColor(22, 150, 62)), 0.05);
    EXPECT_GT(ShareNear(grid, m.Dot(15), QColor(46, 110, 230)), 0.6);
    EXPECT_LT(ShareNear(grid, m.Dot(16), QColor(46, 110, 230)), 0.05);

    m.calendar->SetShowHolidays(false);
    m.calendar->SetShowNoteMarks(false);
    const auto plain = test::MakeCalendar(kNow);
    // Without the large pale numbers, whose edges come out a little differently on a glyph's first drawing.
    for (TChnCalendar* calendar : {m.calendar.get(), plain.get()})
        calendar->SetShowBackYearMonth(false);
    EXPECT_EQ(test::GridImage(*m.calendar), test::GridImage(*plain));
}

TEST(Marks, InANarrowCellTheNumberMovesLeftOfTheBadgeAndStaysInAWideOne) {
    const auto calendar = test::MakeCalendar(kNow);
    const QFont& font = calendar->FontDate();
    const QRect narrow(0, 0, 40, 28);
    const QRect number = DayNumberRect(narrow, font, "18", true);
    EXPECT_LE(number.center().x() + QFontMetrics(font).horizontalAdvance("18") / 2 + 1,
              HolidayMarkRect(narrow).left());
    const QRect wide(0, 0, 57, 28);
    EXPECT_EQ(DayNumberRect(wide, font, "18", true), DayNumberRect(wide, font, "18", false));
}

TEST(Marks, OneQueryPerMonthShownAndTheHostsWordInBetween) {
    MarkedCalendar m;
    EXPECT_EQ(m.queries, 1);
    m.calendar->SetDateTime(EncodeDate(2026, 10, 20));
    EXPECT_EQ(m.queries, 1);
    EXPECT_TRUE(m.calendar->MarksOf(QDate(2026, 10, 15)).hasNote);
    m.calendar->SetDayHasNote(QDate(2026, 10, 15), false);
    m.calendar->SetDayHasNote(QDate(2026, 10, 20), true);
    m.calendar->SetDateTime(EncodeDate(2026, 10, 21)); // refilling the month keeps the host's word
    EXPECT_FALSE(m.calendar->MarksOf(QDate(2026, 10, 15)).hasNote);
    EXPECT_TRUE(m.calendar->MarksOf(QDate(2026, 10, 20)).hasNote);
    m.calendar->SetDateTime(EncodeDate(2026, 11, 3));
    EXPECT_EQ(m.queries, 2);
    EXPECT_FALSE(m.calendar->MarksOf(QDate(2026, 10, 20)).hasNote); // not the month shown
}

TEST(Marks, FooterAndScreenReaderTextNameTheHoliday) {
    MarkedCalendar m;
    const auto* footer = m.calendar->findChild<QLabel*>("SelectedLabel");
    EXPECT_FALSE(footer->text().contains("国庆节"));
    m.calendar->SetDateTime(EncodeDate(2026, 10, 7));
    EXPECT_TRUE(footer->text().endsWith(" 国庆节 休")) << footer->text().toStdString();
    EXPECT_EQ(m.calendar->MarksOf(QDate(2026, 10, 10)).holiday, "国庆节 班");
    m.calendar->SetShowHolidays(false);
    EXPECT_FALSE(footer->text().contains("国庆节"));
    EXPECT_TRUE(m.calendar->MarksOf(QDate(2026, 10, 10)).holiday.isEmpty());
}

TEST(Marks, OptionsMenuSwitchesMondayFirstWithoutChangingTheDate) {
    MarkedCalendar m;
    int changes = 0, dateChanges = 0;
    QObject::connect(m.calendar.get(), &TChnCalendar::optionsChanged, [&] { ++changes; });
    m.calendar->OnChange = [&](TChnCalendar*) { ++dateChanges; };
    QMenu& menu = m.calendar->OptionsMenu();
    for (const char* name : {"MenuShowHolidays", "MenuShowNoteMarks", "MenuMondayFirst"})
        ASSERT_NE(menu.findChild<QAction*>(name), nullptr) << name;
    menu.findChild<QAction*>("MenuMondayFirst")->trigger();
    EXPECT_TRUE(m.calendar->MondayFirst());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dateChanges, 0);
    EXPECT_EQ(m.calendar->DayGrid().Selected(), (GridCell{4, 2})); // Thursday the 8th
    EXPECT_TRUE(m.calendar->MarksOf(QDate(2026, 10, 15)).hasNote);
    menu.findChild<QAction*>("MenuShowNoteMarks")->trigger();
    EXPECT_FALSE(m.calendar->ShowNoteMarks());
    EXPECT_FALSE(menu.findChild<QAction*>("MenuShowNoteMarks")->isChecked());
}

// calendar-render with both marks off and Sunday first draws what it drew before the marks existed.
TEST(Marks, SwitchedOffTheRenderedPicturesAreThoseOfBefore) {
    const struct {
        const char* reference;
        QStringList arguments;
    } cases[] = {
        {"unmarked-419x250-2026-10-08.png", {"419", "250", "2026-10-08T09:00"}},
        {"unmarked-419x250-2026-10-08@2x.png", {"419", "250", "2026-10-08T09:00", "--scale", "2"}},
        {"unmarked-313x253-2013-01-03-weeks.png", {"313", "253", "--week-numbers"}},
    };
    QTemporaryDir folder;
    for (const auto& c : cases) {
        QStringList arguments = c.arguments;
        arguments.insert(2, folder.filePath("out.png"));
        arguments << "--no-holidays"
                  << "--no-note-marks"
                  << "--notes"
                  << "2026-10-15,2013-01-03";
        EXPECT_EQ(QProcess::execute(QUENDA_CALENDAR_RENDER, arguments), 0);
        const QImage before(QUENDA_TEST_DATA_DIR "/calendar_control/" + QString(c.reference));
        ASSERT_FALSE(before.isNull());
        EXPECT_EQ(QImage(folder.filePath("out.png")).convertToFormat(before.format()), before) << c.reference;
    }
}

} // namespace
} // namespace quenda
