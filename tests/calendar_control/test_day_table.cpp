// The day table of a month: which cells hold days, their texts and colours, the week numbers, the title
// cells and the footer.
#include "CalendarDayTable.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quenda {
namespace {

constexpr TColor kRed = 255;

struct Month {
    TDayTable table;
    TChnCal info;
    int selectedCell = 0;
    DayColours colours;
};

// What the control does on a date change: fill the information for the selected date, then the month.
Month FillFor(int year, int month, int day) {
    Month m;
    m.info.Fill(EncodeDate(year, month, day));
    m.selectedCell = FillMonth(m.table, m.info, year, month, day, m.colours);
    return m;
}

std::vector<int> ValidDayCells(const TDayTable& table) {
    std::vector<int> cells;
    for (int n = 1; n <= kLastDayCell; ++n)
        if (table.Cells(n).Valid) cells.push_back(n);
    return cells;
}

std::vector<QString> WeekList(const TDayTable& table) {
    std::vector<QString> weeks;
    for (int row = 1; row <= kWeekRows; ++row)
        weeks.push_back(table.WeekNumbers(row));
    return weeks;
}

TEST(DayTable, MonthStartingOnSundayFillsFromCellOne) {
    const Month m = FillFor(2023, 1, 10); // 2023-01-01 is a Sunday, in ISO week 52 of 2022
    const auto cells = ValidDayCells(m.table);
    ASSERT_EQ(cells.size(), 31u);
    EXPECT_EQ(cells.front(), 1);
    EXPECT_EQ(cells.back(), 31);
    EXPECT_EQ(m.table.Cells(1).DayText, "1");
    EXPECT_EQ(m.table.Cells(31).Day, 31);
    EXPECT_EQ(m.selectedCell, 10);
}

// In a month that starts on a Sunday each row shows the ISO week of its Monday (the Sunday before it
// belongs to the week before), and a row without a day of the month shows nothing.
TEST(DayTable, SundayStartShowsTheWeekOfEachRowsMonday) {
    const struct {
        int year, month;
        std::vector<QString> weeks;
    } cases[] = {
        {2023, 1, {"1", "2", "3", "4", "5", ""}},      // the 1st lies in week 52 of 2022
        {2024, 12, {"49", "50", "51", "52", "1", ""}}, // Monday the 30th starts week 1 of 2025
        {2015, 2, {"6", "7", "8", "9", "", ""}},       // 28 days: four rows
        {2004, 2, {"6", "7", "8", "9", "10", ""}},     // the 29th's row: Monday is the 1st of March
    };
    for (const auto& c : cases) {
        const Month m = FillFor(c.year, c.month, 1);
        EXPECT_EQ(m.table.Cells(1).Day, 1) << c.year << "-" << c.month;
        EXPECT_EQ(WeekList(m.table), c.weeks) << c.year << "-" << c.month;
    }
}

TEST(DayTable, SaturdayStartWithThirtyOneDaysUsesCellsSevenToThirtySeven) {
    const Month m = FillFor(2023, 7, 31); // 2023-07-01 is a Saturday
    const auto cells = ValidDayCells(m.table);
    ASSERT_EQ(cells.size(), 31u);
    EXPECT_EQ(cells.front(), 7);
    EXPECT_EQ(cells.back(), 37);
    EXPECT_EQ(m.selectedCell, 37);
    EXPECT_EQ(WeekList(m.table), (std::vector<QString>{"26", "27", "28", "29", "30", "31"}));
    // The title cells keep their own texts: no day reaches them.
    EXPECT_EQ(m.table.Cells(kAnimalYearCell).DayText, "兔年");
    EXPECT_EQ(m.table.Cells(kStemBranchCell).DayText, "癸卯");
    EXPECT_EQ(m.table.Cells(kConstellationCell).DayText, "狮子");
}

// The grid's selection moves while the selected day is being filled, so a failure on a later day leaves
// the highlight on the new date rather than on the old cell.
TEST(DayTable, SelectionHookRunsWhenTheSelectedDayIsFilled) {
    TDayTable table;
    TChnCal info;
    info.Fill(EncodeDate(2013, 1, 3));
    std::vector<int> calls;
    const auto hook = [&](int cell) {
        calls.push_back(cell);
        EXPECT_EQ(table.Cells(cell).DayText, "3");
        EXPECT_EQ(table.Cells(cell).LunarText, "廿二");
        EXPECT_FALSE(table.Cells(cell).Valid);     // marked valid right after the move
        EXPECT_TRUE(table.Cells(cell - 1).Valid);  // the 2nd is done
        EXPECT_FALSE(table.Cells(cell + 1).Valid); // the 4th is not filled yet
        EXPECT_EQ(table.Cells(kConstellationCell).DayText, "摩羯");
    };
    EXPECT_EQ(FillMonth(table, info, 2013, 1, 3, DayColours{}, hook), 5);
    EXPECT_EQ(calls, (std::vector<int>{5}));
    EXPECT_TRUE(table.Cells(5).Valid);
    // A failure after the selected day stops the month there, with the days before it filled.
    TDayTable failing;
    info.Fill(EncodeDate(2013, 1, 3));
    EXPECT_THROW(FillMonth(failing, info, 2013, 1, 3, DayColours{},
                           [](int) { throw std::runtime_error("hook failure"); }),
                 std::runtime_error);
    EXPECT_TRUE(failing.Cells(4).Valid);
    EXPECT_FALSE(failing.Cells(6).Valid);
}

TEST(DayTable, FebruaryOfLeapAndCommonYears) {
    const Month leap = FillFor(2024, 2, 29); // Thursday the 1st
    auto cells = ValidDayCells(leap.table);
    ASSERT_EQ(cells.size(), 29u);
    EXPECT_EQ(cells.front(), 5);
    EXPECT_EQ(cells.back(), 33);
    EXPECT_EQ(leap.table.Cells(5 + 9).LunarText, "春节"); // 2024-02-10, a lunar festival on a first day
    EXPECT_EQ(leap.table.Cells(5 + 9).LunarColor, leap.colours.ColorCnHolDay);
    EXPECT_EQ(leap.table.Cells(5 + 8).LunarText, "除夕");

    const Month common = FillFor(2023, 2, 14); // Wednesday the 1st
    cells = ValidDayCells(common.table);
    ASSERT_EQ(cells.size(), 28u);
    EXPECT_EQ(cells.front(), 4);
    EXPECT_EQ(cells.back(), 31);
    EXPECT_EQ(common.table.Cells(4 + 13).LunarText, "情人节");
    EXPECT_EQ(common.table.Cells(4 + 13).LunarColor, common.colours.ColorHoliday);
}

TEST(DayTable, LeapLunarMonthAndSolarTermOnTheLunarLine) {
    const Month m = FillFor(2023, 3, 22); // Wednesday the 1st; 闰二 begins on the 22nd
    const TcnDateInf& leapFirst = m.table.Cells(4 + 21);
    EXPECT_EQ(leapFirst.LunarDay, "初一");
    EXPECT_EQ(leapFirst.LunarMonth, "闰二");
    EXPECT_EQ(leapFirst.LunarText, "闰二");
    EXPECT_EQ(leapFirst.LunarColor, kRed);
    const TcnDateInf& equinox = m.table.Cells(4 + 20);
    EXPECT_EQ(equinox.LunarText, "春分");
    EXPECT_EQ(equinox.LunarColor, m.colours.ColorLunarHolDay);
    const TcnDateInf& plain = m.table.Cells(4 + 1); // 2023-03-02, lunar 二月十一
    EXPECT_EQ(plain.LunarText, "十一");
    EXPECT_EQ(plain.LunarColor, m.colours.ColorCnDate);
    EXPECT_EQ(m.table.Cells(kConstellationCell).DayText, "白羊");
}

TEST(DayTable, WeekendDayNumbersAreRedWhateverTheDayColour) {
    Month m;
    m.colours.ColorDate = RGB(1, 2, 3);
    m.info.Fill(EncodeDate(2023, 7, 1));
    FillMonth(m.table, m.info, 2023, 7, 1, m.colours);
    for (int n = 1; n <= kLastDayCell; ++n) {
        const bool weekend = CellPosOf(n).column == 1 || CellPosOf(n).column == 7;
        EXPECT_EQ(m.table.Cells(n).DayColor, weekend ? kRed : RGB(1, 2, 3)) << "cell " << n;
    }
}

TEST(DayTable, RefillingClearsTheCellsOfTheLongerMonth) {
    Month m = FillFor(2023, 7, 1); // cells 7..37
    m.info.Fill(EncodeDate(2023, 2, 1));
    FillMonth(m.table, m.info, 2023, 2, 1, m.colours); // cells 4..31
    EXPECT_FALSE(m.table.Cells(32).Valid);
    EXPECT_FALSE(m.table.Cells(37).Valid);
    EXPECT_TRUE(m.table.Cells(kStemBranchCell).Valid);
    EXPECT_TRUE(m.table.Cells(32).LunarText.isEmpty());
    EXPECT_EQ(m.table.WeekCount(), 5);
    EXPECT_TRUE(m.table.WeekNumbers(6).isEmpty());
}

TEST(DayTable, MonthBefore1949KeepsTheDayTexts) {
    const Month m = FillFor(1900, 1, 30); // a Monday the 1st; the lunar new year is on the 31st
    const auto cells = ValidDayCells(m.table);
    ASSERT_EQ(cells.size(), 31u);
    EXPECT_EQ(cells.front(), 2);
    EXPECT_EQ(m.table.Cells(2).LunarText, "元旦节");
    EXPECT_EQ(m.table.Cells(kAnimalYearCell).DayText, "猪年");
}

TEST(LunarLine, LaterRulesOverrideEarlierOnes) {
    const DayColours colours;
    TChnCal info;
    info.LunarMonthText = "冬月";
    info.LunarDayText = "廿一";
    LunarLine line = ChooseLunarLine(info, colours);
    EXPECT_EQ(line.text, "廿一");
    EXPECT_EQ(line.colour, colours.ColorCnDate);

    info.LunarDayText = "初一";
    line = ChooseLunarLine(info, colours);
    EXPECT_EQ(line.text, "冬月");
    EXPECT_EQ(line.colour, kRed);

    info.HolidayText = "元旦节";
    line = ChooseLunarLine(info, colours);
    EXPECT_EQ(line.text, "元旦节");
    EXPECT_EQ(line.colour, colours.ColorHoliday);

    info.SolarTermText = "冬至"; // a festival that is also a solar term shows the term
    line = ChooseLunarLine(info, colours);
    EXPECT_EQ(line.text, "冬至");
    EXPECT_EQ(line.colour, colours.ColorLunarHolDay);

    info.LunarHolidayText = "春节";
    line = ChooseLunarLine(info, colours);
    EXPECT_EQ(line.text, "春节");
    EXPECT_EQ(line.colour, colours.ColorCnHolDay);
}

TEST(WeekNumbers, IsoWeeksAcrossYearEnds) {
    EXPECT_EQ(IsoWeekNumber(2021, 1, 3), 53); // Sunday of 2020's week 53
    EXPECT_EQ(IsoWeekNumber(2021, 1, 4), 1);
    EXPECT_EQ(IsoWeekNumber(2024, 12, 30), 1); // Monday of 2025's week 1
    EXPECT_EQ(IsoWeekNumber(2023, 1, 1), 52);
    EXPECT_EQ(IsoWeekNumber(2015, 12, 31), 53);
    EXPECT_EQ(IsoWeekNumber(1, 1, 1), 1); // a Monday
}

TEST(Footer, FormattedDateFrom1949AndTheEraBefore) {
    EXPECT_EQ(SelectedText(2013, 1, 3, {}, "冬月廿二"), "2013-01-03 农历冬月廿二");
    EXPECT_EQ(SelectedText(1949, 1, 1, {}, "腊月初三"), "1949-01-01 农历腊月初三");
    EXPECT_EQ(SelectedText(1948, 12, 31, "[近、现代]中华民国  民国37年", "腊月初二"),
              "[近、现代]中华民国  民国37年 农历腊月初二");
    EXPECT_EQ(SelectedText(5, 2, 9, "X", "Y"), "X 农历Y");
}

} // namespace
} // namespace quenda
