// Solar terms: every term of 1900-2100 against the astronomical reference, the naming of term days, and the
// formula's behaviour in the Julian centuries.

#include "CalendarReferenceData.h"
#include "CnCalendar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <string>

namespace quenda {
namespace {

TEST(SolarTerms, EveryTermOf1900To2100FallsOnTheReferenceDate) {
    const auto terms = testdata::readSolarTerms();
    ASSERT_EQ(terms.size(), 201u * 24u);
    int mismatches = 0;
    for (const auto& term : terms) {
        const std::optional<MonthDay> date = SolarTermDate(term.year, term.index);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(SolarTermName((term.index + 22) % 24), term.name);
        const bool same =
            term.date.year == term.year && date->month == term.date.month && date->day == term.date.day;
        if (!same && ++mismatches <= 10)
            ADD_FAILURE() << term.year << " " << term.name << ": got " << date->month << "-" << date->day;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(SolarTerms, TheTextOfEachDayOf1900To2100NamesExactlyTheReferenceTerms) {
    std::map<TDateTime, std::string> expected;
    for (const auto& term : testdata::readSolarTerms())
        expected[EncodeDate(term.date.year, term.date.month, term.date.day)] = term.name;
    for (TDateTime v = EncodeDate(1900, 1, 1); v <= EncodeDate(2100, 12, 31); v += 1) {
        const auto found = expected.find(v);
        const std::string want = found == expected.end() ? std::string() : found->second;
        ASSERT_EQ(std::string(SolarTermTextOf(v + 0.75)), want) << v;
    }
}

TEST(SolarTerms, TermsOf2023And2025) {
    EXPECT_EQ(SolarTermDate(2023, 0), (MonthDay{1, 5}));    // 小寒
    EXPECT_EQ(SolarTermDate(2023, 2), (MonthDay{2, 4}));    // 立春
    EXPECT_EQ(SolarTermDate(2023, 6), (MonthDay{4, 5}));    // 清明
    EXPECT_EQ(SolarTermDate(2023, 11), (MonthDay{6, 21}));  // 夏至
    EXPECT_EQ(SolarTermDate(2023, 23), (MonthDay{12, 22})); // 冬至
    EXPECT_NEAR(SolarTermDay(2025, 3), 34.92, 0.01);        // 立春 on day 34, February 3
    EXPECT_EQ(SolarTermTextOf(EncodeDate(2025, 2, 3)), "立春");
    EXPECT_EQ(SolarTermTextOf(EncodeDate(2025, 2, 4)), "");
    EXPECT_EQ(SolarTermTextOf(EncodeDate(2024, 12, 21)), "冬至");
    // Term 25 is the next January's 小寒, counted in days of this year.
    EXPECT_NEAR(SolarTermDay(2023, 25), 371.2, 0.01);
    EXPECT_NEAR(SolarTermDay(2023, 25) - 365, SolarTermDay(2024, 1), 0.001); // within 1.5 minutes
}

TEST(SolarTerms, JulianCenturiesDriftAndNeighbouringMonthsAreNotNamed) {
    EXPECT_NEAR(SolarTermDay(1582, 1), -4.11, 0.01);
    EXPECT_EQ(SolarTermDate(1582, 0), (MonthDay{1, -5}));
    for (int day = 1; day <= 31; ++day) {
        if (day == 10) continue;
        EXPECT_EQ(SolarTermTextOf(EncodeDate(1582, 1, day)), "") << day;
    }
    EXPECT_EQ(SolarTermTextOf(EncodeDate(1582, 1, 10)), "大寒");
    EXPECT_EQ(SolarTermTextOf(EncodeDate(1582, 12, 12)), "冬至");
}

TEST(SolarTerms, YearsBeforeOneCountAstronomically) {
    // Civil year 0 does not exist; the formula reads it as year 1, and 1 BC (-1) as its astronomical year 0.
    for (int n = 1; n <= 24; ++n)
        EXPECT_EQ(SolarTermDay(0, n), SolarTermDay(1, n)) << n;
    EXPECT_NE(SolarTermDay(-1, 3), SolarTermDay(0, 3));
    EXPECT_NEAR(SolarTermDay(-1, 3), SolarTermDay(1, 3), 1.5);
}

TEST(SolarTerms, BadArgumentsGiveEmptyResults) {
    EXPECT_FALSE(SolarTermDate(2023, 24).has_value());
    EXPECT_FALSE(SolarTermDate(2023, -1).has_value());
    EXPECT_EQ(SolarTermName(24), "");
    EXPECT_EQ(SolarTermName(-1), "");
    EXPECT_EQ(SolarTermName(0), "立春");
    EXPECT_EQ(SolarTermName(23), "大寒");
    EXPECT_EQ(SolarTermTextOf(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(SolarTermTextOf(1e300), "");
    EXPECT_TRUE(SolarTermDate(INT_MAX, 5).has_value()); // absurd years compute without overflow
    EXPECT_TRUE(SolarTermDate(INT_MIN, 5).has_value());
}

} // namespace
} // namespace quenda
