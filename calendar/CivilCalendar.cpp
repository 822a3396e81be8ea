// Civil arithmetic in the engine's mixed calendar: Julian up to 1582-10-04, Gregorian from 1582-10-15.
// Sums run in 64 bits and narrow at the end, so absurd arguments give a wrong number, never overflow.

#include "CnCalendar.h"
#include "MonthLength.h"

#include <cstdint>

namespace quenda {

namespace {

constexpr int kLastJulianDay = 577735; // day number of 1582-10-04

bool isGregorianRuleLeap(std::int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

std::int64_t dayOfYear64(int year, int month, int day) {
    std::int64_t sum = day;
    for (int m = 1; m < month && m <= 12; ++m)
        sum += DaysInMonth(year, m);
    return sum;
}

// Days in a year of the Gregorian rule, which the day-number walk uses for every year.
int walkYearLength(int year) {
    return isGregorianRuleLeap(year) ? 366 : 365;
}

// Whole 400- and 100-year blocks of the walk starting at year 1 are skipped at once: the walk subtracts
// every year of a block whenever the remainder exceeds the block's length, so the result is the same.
void skipYearBlocks(std::int64_t& a, int& year) {
    constexpr std::int64_t kCycle = 146097;
    const std::int64_t cycles = a > kCycle ? (a - 1) / kCycle : 0;
    a -= cycles * kCycle;
    year += static_cast<int>(cycles * 400);
    for (int century = 0; century < 3 && a > 36524; ++century) {
        a -= 36524;
        year += 100;
    }
}

} // namespace

int CalendarKind(int year, int month, int day) {
    if (year < 1582 || (year == 1582 && month < 10) || (year == 1582 && month == 10 && day <= 4)) return 1;
    if (year == 1582 && month == 10 && day >= 5 && day <= 14) return 0;
    return 2;
}

bool IsLeapYearMixed(int year) {
    const std::int64_t y = year;
    if (CalendarKind(year, 1, 1) == 2) return isGregorianRuleLeap(y);
    // Julian, with no year 0: 1 BC (-1), 5 BC (-5) ... are leap years.
    return y >= 0 ? y % 4 == 0 : (y - 3) % 4 == 0;
}

int DaysInMonth(int year, int month) {
    return detail::monthLength(month, month == 2 && IsLeapYearMixed(year));
}

int DayOfYear(int year, int month, int day) {
    return static_cast<int>(dayOfYear64(year, month, day));
}

int DayNumber(int year, int month, int day) {
    const int kind = CalendarKind(year, month, day);
    if (kind == 0) return 0;
    const std::int64_t e = static_cast<std::int64_t>(year) - 1;
    const std::int64_t f = 365 * e + e / 4;
    const std::int64_t n = dayOfYear64(year, month, day);
    const std::int64_t result = kind == 1 ? f + n - 2 : f + n - e / 100 + e / 400;
    return static_cast<int>(result);
}

std::optional<CivilDate> DateFromDayNumber(int dayNumber) {
    if (dayNumber < 0) return std::nullopt;
    std::int64_t a = dayNumber;
    // A century approximation of the Julian shift, one day early near the end of some centuries.
    if (a <= kLastJulianDay) a = a + 2 - a / 36500 + a / 146000;
    int year = 1;
    skipYearBlocks(a, year);
    while (a > walkYearLength(year)) {
        a -= walkYearLength(year);
        ++year;
    }
    for (int month = 1; month <= 12; ++month) {
        const int length = DaysInMonth(year, month);
        if (a <= length) return CivilDate{year, month, static_cast<int>(a)};
        a -= length;
    }
    return std::nullopt;
}

int CompareDates(int y1, int m1, int d1, int y2, int m2, int d2) {
    if (y1 != y2) return y1 > y2 ? 1 : -1;
    if (m1 != m2) return m1 > m2 ? 1 : -1;
    if (d1 != d2) return d1 > d2 ? 1 : -1;
    return 0;
}

} // namespace quenda
