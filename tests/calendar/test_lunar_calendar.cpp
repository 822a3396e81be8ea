// Lunar conversion: the astronomical reference over every date of 1900-2100, the round trip through
// LunarToSolar, the memo tables against the plain computation, and the tables and texts.

#include "CalendarReferenceData.h"
#include "CnCalendar.h"
#include "CnCalendarDetail.h"
#include "LeapMonthTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace quenda {
namespace {

std::string describe(int y, int m, int d) {
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

LunarDate lunar(int y, int m, int d) {
    const std::optional<LunarDate> result = SolarToLunar(y, m, d);
    EXPECT_TRUE(result.has_value()) << describe(y, m, d);
    return result.value_or(LunarDate{});
}

TEST(LunarCalendar, AgreesWithTheAstronomicalReferenceOnEveryDateOf1900To2100) {
    const auto months = testdata::readLunarMonths();
    ASSERT_GT(months.size(), 2480u);
    TDateTime expectedNext = EncodeDate(1900, 1, 1);
    int mismatches = 0;
    for (const auto& month : months) {
        const TDateTime first = EncodeDate(month.firstDay.year, month.firstDay.month, month.firstDay.day);
        ASSERT_EQ(first, expectedNext) << "reference months must cover every date";
        for (int i = 0; i < month.days; ++i) {
            const CivilDate c = DecodeDate(first + i);
            const LunarDate expected{month.lunarYear, month.lunarMonth, i + 1, month.leap};
            const LunarDate actual = lunar(c.year, c.month, c.day);
            if (actual != expected && ++mismatches <= 10)
                ADD_FAILURE() << describe(c.year, c.month, c.day) << ": got " << actual.year << "/"
                              << actual.month << (actual.leap ? "L" : "") << "/" << actual.day << ", want "
                              << expected.year << "/" << expected.month << (expected.leap ? "L" : "") << "/"
                              << expected.day;
        }
        expectedNext = first + month.days;
    }
    EXPECT_EQ(expectedNext, EncodeDate(2101, 1, 1));
    EXPECT_EQ(mismatches, 0);
}

TEST(LunarCalendar, NewYearsLeapMonthsAndCorrectedSpans) {
    // The reference test covers these too; here a failure names the rule that broke.
    // clang-format off
    const struct { CivilDate date; LunarDate lunar; } cases[] = {
        {{2023, 1, 21}, {2022, 12, 30, false}}, {{2023, 1, 22}, {2023, 1, 1, false}},   // new year
        {{2023, 3, 21}, {2023, 2, 30, false}},  {{2023, 3, 22}, {2023, 2, 1, true}},    // leap second month
        {{2033, 12, 22}, {2033, 11, 1, true}},  {{2034, 1, 20}, {2033, 12, 1, false}},  // leap eleventh month
        {{1924, 3, 4}, {1924, 1, 29, false}},   {{1924, 3, 5}, {1924, 2, 1, false}},    // corrected spans and
        {{2018, 11, 7}, {2018, 9, 30, false}},  {{2018, 11, 8}, {2018, 10, 1, false}},  // their neighbours
        {{1916, 2, 2}, {1915, 12, 29, false}},  {{1916, 2, 3}, {1916, 1, 1, false}},
        {{2057, 10, 27}, {2057, 9, 29, false}}, {{2057, 10, 28}, {2057, 10, 1, false}},
        {{2025, 4, 7}, {2025, 3, 10, false}},   {{2025, 4, 27}, {2025, 3, 30, false}},  // no 2025 correction
        {{2025, 4, 28}, {2025, 4, 1, false}},   {{2025, 5, 27}, {2025, 5, 1, false}},
        {{1900, 1, 1}, {1899, 12, 1, false}},   {{2100, 12, 31}, {2100, 12, 1, false}}, // ends of the reference
        {{1, 1, 1}, {0, 11, 19, false}},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(lunar(c.date.year, c.date.month, c.date.day), c.lunar) << c.date.year;
}

TEST(LunarCalendar, WithoutAFoundNewYearTheLunarYearChangesOnJanuaryFirst) {
    // In 37 the month formula and the leap table disagree and the bisection never meets the new year.
    EXPECT_FALSE(LunarToSolar(37, 1, 1, false).has_value());
    EXPECT_EQ(lunar(36, 12, 31).year, 36);
    EXPECT_EQ(lunar(37, 1, 1).year, 37);
}

TEST(LunarCalendar, YearsOutsideTheTablesFailWithoutOutput) {
    EXPECT_FALSE(SolarToLunar(2101, 1, 1).has_value());
    EXPECT_FALSE(SolarToLunar(-850, 12, 31).has_value());
    EXPECT_FALSE(SolarToLunar(INT_MAX, 1, 1).has_value());
    EXPECT_FALSE(SolarToLunar(INT_MIN, 1, 1).has_value());
    EXPECT_FALSE(GetLunarMonthDay(2101, 1, 1).has_value());
    EXPECT_TRUE(SolarToLunar(-849, 1, 1).has_value());
}

TEST(LunarCalendar, DroppedDatesOf1582HaveNoLunarDayButStillConvert) {
    for (int day = 5; day <= 14; ++day) {
        const std::optional<LunarDate> l = SolarToLunar(1582, 10, day);
        ASSERT_TRUE(l.has_value());
        EXPECT_EQ(l->day, -1);
        EXPECT_EQ(l->month, 6); // what the month formula gives for day number 0
        EXPECT_EQ(LunarDayName(l->day), "");
    }
    EXPECT_GT(LunarDayOf(1582, 10, 4), 0);
    EXPECT_GT(LunarDayOf(1582, 10, 15), 0);
}

TEST(LunarCalendar, UncheckedFunctionsSurviveAbsurdArguments) {
    // Not range-checked: any answer will do, as long as it is computed without overflow.
    for (const int year : {INT_MIN, -1000000, 0, 3000, INT_MAX})
        for (const int month : {INT_MIN, -1, 0, 13, INT_MAX})
            for (const int day : {INT_MIN, 0, 32, INT_MAX}) {
                const int d = LunarDayOf(year, month, day);
                EXPECT_TRUE(d == -1 || (d >= 1 && d <= 30));
                (void)LunarMonthOf(year, month, day);
            }
    // Dates that do not exist count on from the month's start, as their day numbers do.
    EXPECT_EQ(GetLunarMonthDay(2023, 2, 30)->day, GetLunarMonthDay(2023, 3, 2)->day);
}

TEST(LunarToSolar, FindsLeapAndOrdinaryMonths) {
    EXPECT_EQ(LunarToSolar(2023, 2, 1, true), (CivilDate{2023, 3, 22}));
    EXPECT_EQ(LunarToSolar(2023, 2, 1, false), (CivilDate{2023, 2, 20}));
    EXPECT_EQ(LunarToSolar(2024, 1, 1, false), (CivilDate{2024, 2, 10}));
    EXPECT_EQ(LunarToSolar(2023, 1, 29, false), (CivilDate{2023, 2, 19}));
    EXPECT_EQ(LunarToSolar(2022, 12, 30, false), (CivilDate{2023, 1, 21}));
}

TEST(LunarToSolar, FailsForLunarDatesThatDoNotExist) {
    EXPECT_FALSE(LunarToSolar(2023, 3, 1, true).has_value());   // 2023 has no leap third month
    EXPECT_FALSE(LunarToSolar(2023, 1, 30, false).has_value()); // the first month of 2023 has 29 days
    EXPECT_FALSE(LunarToSolar(2023, 0, 1, false).has_value());
    EXPECT_FALSE(LunarToSolar(2023, 13, 1, false).has_value());
    EXPECT_FALSE(LunarToSolar(2023, 1, 0, false).has_value());
    EXPECT_FALSE(LunarToSolar(2023, 1, 31, false).has_value());
    EXPECT_FALSE(LunarToSolar(2101, 1, 1, false).has_value());
    EXPECT_FALSE(LunarToSolar(INT_MAX, 1, 1, false).has_value());
    EXPECT_FALSE(LunarToSolar(INT_MIN, 1, 1, true).has_value());
}

TEST(LunarToSolar, InvertsSolarToLunarOnEveryDateFrom1660To2100) {
    // Earlier, the month formula and the leap table disagree in places and the bisection loses its way.
    int failures = 0;
    for (int y = 1660; y <= 2100; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const LunarDate l = lunar(y, m, d);
                const std::optional<CivilDate> back = LunarToSolar(l.year, l.month, l.day, l.leap);
                if (back != CivilDate{y, m, d} && ++failures <= 10) ADD_FAILURE() << describe(y, m, d);
            }
    EXPECT_EQ(failures, 0);
}

TEST(LunarMemo, MemoisedResultsEqualThePlainComputation) {
    // A spread of dates in every year of the tables, including each year's first days and new-year region.
    for (int y = kFirstEngineYear; y <= kLastEngineYear; ++y)
        for (const auto& [m, d] : {std::pair{1, 1}, {1, 29}, {2, 14}, {2, 28}, {6, 30}, {12, 31}}) {
            ASSERT_EQ(detail::solarToLunar(y, m, d, detail::Memo::Use),
                      detail::solarToLunar(y, m, d, detail::Memo::Bypass))
                << describe(y, m, d);
            ASSERT_EQ(detail::lunarDayOf(y, m, d, detail::Memo::Use),
                      detail::lunarDayOf(y, m, d, detail::Memo::Bypass));
        }
    for (const int y : {-849, -1, 0, 1, 37, 1582, 1900, 2023, 2100})
        EXPECT_EQ(detail::lunarNewYear(y), detail::lunarToSolar(y, 1, 1, false, detail::Memo::Bypass)) << y;
}

TEST(LeapMonths, TableAndRunningCount) {
    EXPECT_EQ(detail::LeapMonthTable.size(), 2950u);
    EXPECT_EQ(LeapMonthOf(2023), 2);
    EXPECT_EQ(LeapMonthOf(2025), 6);
    EXPECT_EQ(LeapMonthOf(2033), 11);
    EXPECT_EQ(LeapMonthOf(-848), 12);
    EXPECT_EQ(LeapMonthOf(2024), 0);
    EXPECT_EQ(LeapMonthOf(0), 0);
    EXPECT_EQ(LeapMonthOf(-850), -1);
    EXPECT_EQ(LeapMonthOf(2101), -1);
    EXPECT_EQ(LeapMonthCount(-849), 0);
    EXPECT_EQ(LeapMonthCount(1199), 752);
    EXPECT_EQ(LeapMonthCount(1200), 754);
    EXPECT_EQ(LeapMonthCount(1500), 863);
    EXPECT_EQ(LeapMonthCount(0), LeapMonthCount(-1));
    EXPECT_EQ(LeapMonthCount(2100), 1084);
    EXPECT_EQ(LeapMonthCount(INT_MAX), 1084);
    EXPECT_EQ(LeapMonthCount(INT_MIN), 0);
    // The count rises by one exactly in the years with a leap month (apart from the 1200..1499 step).
    for (int y = -848; y <= 2100; ++y) {
        if (y == 0 || y == 1 || y == 1200 || y == 1500) continue;
        EXPECT_EQ(LeapMonthCount(y) - LeapMonthCount(y - 1), LeapMonthOf(y) != 0 ? 1 : 0) << y;
    }
}

TEST(LunarCompare, LeapMonthFollowsItsNamesake) {
    EXPECT_EQ(CompareLunarDates(2023, 2, 30, false, 2023, 2, 1, true), -1);
    EXPECT_EQ(CompareLunarDates(2023, 2, 1, true, 2023, 2, 30, false), 1);
    EXPECT_EQ(CompareLunarDates(2023, 2, 5, true, 2023, 2, 5, true), 0);
    EXPECT_EQ(CompareLunarDates(2023, 3, 1, false, 2023, 2, 29, true), 1);
    EXPECT_EQ(CompareLunarDates(2022, 12, 30, false, 2023, 1, 1, false), -1);
    EXPECT_EQ(CompareLunarDates(2023, 1, 2, false, 2023, 1, 1, false), 1);
}

TEST(LunarTexts, DayAndMonthNames) {
    EXPECT_EQ(LunarDayName(10), "初十");
    EXPECT_EQ(LunarDayName(11), "十一");
    EXPECT_EQ(LunarDayName(20), "二十");
    EXPECT_EQ(LunarDayName(21), "廿一");
    EXPECT_EQ(LunarDayName(30), "三十");
    for (const int outside : {0, -1, 31, INT_MIN})
        EXPECT_EQ(LunarDayName(outside), "");
    EXPECT_EQ(LunarMonthText(1, false), "正月");
    EXPECT_EQ(LunarMonthText(11, false), "冬月");
    EXPECT_EQ(LunarMonthText(12, false), "腊月");
    EXPECT_EQ(LunarMonthText(2, true), "闰二");
    EXPECT_EQ(LunarMonthText(11, true), "闰冬");
    EXPECT_EQ(LunarMonthText(0, false), "");
    EXPECT_EQ(LunarMonthText(13, true), "");
}

} // namespace
} // namespace quenda
