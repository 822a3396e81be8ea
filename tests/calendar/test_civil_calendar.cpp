// The mixed Julian/Gregorian arithmetic and the platform date-time value.

#include "CnCalendar.h"
#include "DateTimeValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace quenda {
namespace {

// The day-number walk exactly as first written: year by year from year 1, then month by month.
std::optional<CivilDate> walkDayNumber(int a) {
    if (a < 0) return std::nullopt;
    long long rest = a;
    if (rest <= 577735) rest = rest + 2 - rest / 36500 + rest / 146000;
    int year = 1;
    auto length = [](int y) { return (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 366 : 365; };
    while (rest > length(year))
        rest -= length(year++);
    for (int month = 1; month <= 12; ++month) {
        if (rest <= DaysInMonth(year, month)) return CivilDate{year, month, static_cast<int>(rest)};
        rest -= DaysInMonth(year, month);
    }
    return std::nullopt;
}

TEST(CivilCalendar, CalendarKindSwitchesAtTheGregorianReform) {
    EXPECT_EQ(CalendarKind(1582, 10, 4), 1);
    EXPECT_EQ(CalendarKind(1582, 10, 5), 0);
    EXPECT_EQ(CalendarKind(1582, 10, 14), 0);
    EXPECT_EQ(CalendarKind(1582, 10, 15), 2);
    EXPECT_EQ(CalendarKind(1582, 9, 30), 1);
    EXPECT_EQ(CalendarKind(1582, 11, 1), 2);
    EXPECT_EQ(CalendarKind(-849, 1, 1), 1);
}

TEST(CivilCalendar, LeapYearsFollowEachYearsOwnCalendar) {
    EXPECT_TRUE(IsLeapYearMixed(1500));
    EXPECT_TRUE(IsLeapYearMixed(1100));
    EXPECT_FALSE(IsLeapYearMixed(1700));
    EXPECT_FALSE(IsLeapYearMixed(1900));
    EXPECT_TRUE(IsLeapYearMixed(1600));
    EXPECT_TRUE(IsLeapYearMixed(2000));
    EXPECT_TRUE(IsLeapYearMixed(-1)); // 1 BC
    EXPECT_TRUE(IsLeapYearMixed(-5));
    EXPECT_FALSE(IsLeapYearMixed(-4));
    EXPECT_TRUE(IsLeapYearMixed(0));
    EXPECT_FALSE(IsLeapYearMixed(INT_MIN)); // no overflow in the shifted remainder
}

TEST(CivilCalendar, MonthLengthsAndDayOfYear) {
    EXPECT_EQ(DaysInMonth(2023, 0), 0);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1500, 2), 29);
    EXPECT_EQ(DaysInMonth(1582, 10), 31); // the dropped dates stay in the month length
    EXPECT_EQ(DayOfYear(1582, 12, 31), 365);
    EXPECT_EQ(DayOfYear(2024, 12, 31), 366);
    EXPECT_EQ(DayOfYear(2023, 3, 1), 60);
    EXPECT_EQ(DayOfYear(2023, 1, 0), 0);
}

TEST(CivilCalendar, DayNumbers) {
    EXPECT_EQ(DayNumber(1582, 10, 4), 577735);
    EXPECT_EQ(DayNumber(1582, 10, 15), 577736);
    EXPECT_EQ(DayNumber(1582, 10, 10), 0);
    EXPECT_EQ(DayNumber(1, 1, 1), -1);
    EXPECT_EQ(DayNumber(2000, 1, 1), 730120);
    EXPECT_EQ(DayNumber(2100, 12, 31), 767009);
    EXPECT_EQ(DayNumber(2024, 1, 0), DayNumber(2023, 12, 31));
    (void)DayNumber(INT_MAX, INT_MAX, INT_MAX); // wraps instead of overflowing
    (void)DayNumber(INT_MIN, 1, INT_MIN);
}

TEST(CivilCalendar, DateFromDayNumberSamples) {
    EXPECT_EQ(DateFromDayNumber(730120), (CivilDate{2000, 1, 1}));
    EXPECT_EQ(DateFromDayNumber(730851), (CivilDate{2002, 1, 1}));
    EXPECT_EQ(DateFromDayNumber(577735), (CivilDate{1582, 10, 4}));
    EXPECT_EQ(DateFromDayNumber(577736), (CivilDate{1582, 10, 15}));
    EXPECT_EQ(DateFromDayNumber(1), (CivilDate{1, 1, 3}));
    EXPECT_EQ(DateFromDayNumber(0), (CivilDate{1, 1, 2}));
    EXPECT_FALSE(DateFromDayNumber(-1).has_value());
    EXPECT_FALSE(DateFromDayNumber(INT_MIN).has_value());
    EXPECT_TRUE(DateFromDayNumber(INT_MAX).has_value());
}

TEST(CivilCalendar, DateFromDayNumberEqualsTheYearByYearWalk) {
    // Whole 400- and 100-year blocks are skipped at once; the edges of the blocks are where that could slip.
    for (int a = 0; a < 4000000; a += 997)
        ASSERT_EQ(DateFromDayNumber(a), walkDayNumber(a)) << a;
    for (int block = 0; block < 30; ++block)
        for (const int base :
             {146097 * block, 146097 * block + 36524, 146097 * block + 73048, 146097 * block + 109572})
            for (int a = base - 3; a <= base + 3; ++a)
                ASSERT_EQ(DateFromDayNumber(a), walkDayNumber(a)) << a;
}

TEST(CivilCalendar, DayNumbersRoundTripInTheGregorianYears) {
    for (int a = 577736; a <= DayNumber(2200, 12, 31); ++a) {
        const std::optional<CivilDate> d = DateFromDayNumber(a);
        ASSERT_TRUE(d.has_value());
        ASSERT_EQ(DayNumber(d->year, d->month, d->day), a);
    }
}

TEST(CivilCalendar, JulianDayNumbersComeBackAtMostOneDayEarly) {
    // The Julian shift is a century approximation: near some century ends the way back is one day early.
    int early = 0;
    for (int y = 1; y <= 1582; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                if (CalendarKind(y, m, d) != 1 || DayNumber(y, m, d) < 0) continue;
                const std::optional<CivilDate> back = DateFromDayNumber(DayNumber(y, m, d));
                ASSERT_TRUE(back.has_value());
                if (*back == CivilDate{y, m, d}) continue;
                ASSERT_EQ(DayNumber(back->year, back->month, back->day), DayNumber(y, m, d) - 1)
                    << y << "-" << m;
                ++early;
            }
    EXPECT_GT(early, 0);
    for (int a = 36500; a <= 36523; ++a) {
        const std::optional<CivilDate> d = DateFromDayNumber(a);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(DayNumber(d->year, d->month, d->day), a - 1) << a;
    }
}

TEST(CivilCalendar, CompareDates) {
    EXPECT_EQ(CompareDates(2023, 1, 1, 2022, 12, 31), 1);
    EXPECT_EQ(CompareDates(2023, 1, 1, 2023, 2, 1), -1);
    EXPECT_EQ(CompareDates(2023, 1, 2, 2023, 1, 1), 1);
    EXPECT_EQ(CompareDates(2023, 1, 1, 2023, 1, 1), 0);
}

TEST(DateTimeValue, SplitsDaysSince18991230) {
    EXPECT_EQ(DecodeDate(0), (CivilDate{1899, 12, 30}));
    EXPECT_EQ(DecodeDate(1), (CivilDate{1899, 12, 31}));
    EXPECT_EQ(DecodeDate(36526), (CivilDate{2000, 1, 1}));
    EXPECT_EQ(DecodeDate(36526.99999), (CivilDate{2000, 1, 1}));
    EXPECT_EQ(DecodeDate(-1.25), (CivilDate{1899, 12, 29})); // truncated toward zero
    EXPECT_EQ(DecodeDate(-0.5), (CivilDate{1899, 12, 30}));
    EXPECT_EQ(DecodeDate(-693593), (CivilDate{1, 1, 1}));
    EXPECT_EQ(DecodeDate(2958465.5), (CivilDate{9999, 12, 31}));
    // Proleptic Gregorian: no dropped dates, 1500 is not a leap year.
    EXPECT_EQ(DecodeDate(EncodeDate(1582, 10, 4) + 1), (CivilDate{1582, 10, 5}));
    EXPECT_EQ(DecodeDate(EncodeDate(1500, 2, 28) + 1), (CivilDate{1500, 3, 1}));
}

TEST(DateTimeValue, ValuesOutsideTheYearsDecodeToNoDate) {
    for (const double v : {-693594.0, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(DecodeDate(v), (CivilDate{0, 0, 0})) << v;
        EXPECT_EQ(DayOfWeek(v), 0);
    }
    EXPECT_EQ(EncodeDate(2023, 2, 29), 0);
    EXPECT_EQ(EncodeDate(0, 1, 1), 0);
    EXPECT_EQ(EncodeDate(10000, 1, 1), 0);
}

TEST(DateTimeValue, EveryDayOfTheYears1To9999RoundTrips) {
    int weekday = DayOfWeek(-693593); // 0001-01-01
    EXPECT_EQ(weekday, 2);            // a Monday in the proleptic Gregorian calendar
    TDateTime value = -693593;
    for (int y = 1; y <= 9999; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= GregorianDaysInMonth(y, m); ++d, ++value) {
                ASSERT_EQ(EncodeDate(y, m, d), value);
                ASSERT_EQ(DecodeDate(value), (CivilDate{y, m, d}));
                ASSERT_EQ(DayOfWeek(value), weekday);
                weekday = weekday % 7 + 1;
            }
}

TEST(DateTimeValue, WeekdaysAndMonthLengths) {
    EXPECT_EQ(DayOfWeek(0), 7);     // 1899-12-30 was a Saturday
    EXPECT_EQ(DayOfWeek(-1.25), 6); // the Friday before
    EXPECT_EQ(GregorianDaysInMonth(1500, 2), 28);
    EXPECT_EQ(GregorianDaysInMonth(2023, 13), 0);
    EXPECT_FALSE(IsValidGregorianDate(2023, 4, 31));
}

} // namespace
} // namespace quenda
