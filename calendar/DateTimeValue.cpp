#include "DateTimeValue.h"
#include "MonthLength.h"

#include <cmath>
#include <cstdint>

namespace quenda {

namespace {

// The value's day 0 is 1899-12-30; in days since 1970-01-01 that is -25569.
constexpr std::int64_t kValueEpochFromUnix = -25569;
// Day values of 0001-01-01 and 9999-12-31, the range the platform decodes.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

bool isGregorianLeap(std::int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days since 1970-01-01 of a proleptic Gregorian date (eras of 400 years, March-based years).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), m, d};
}

// The whole day of a value, truncated toward zero as the platform does; nullopt-like false outside 1..9999.
bool wholeDay(TDateTime value, std::int64_t& day) {
    if (!std::isfinite(value)) return false;
    const double whole = std::trunc(value);
    if (whole < kFirstDay || whole > kLastDay) return false;
    day = static_cast<std::int64_t>(whole);
    return true;
}

} // namespace

int GregorianDaysInMonth(int year, int month) {
    return detail::monthLength(month, month == 2 && isGregorianLeap(year));
}

bool IsValidGregorianDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= GregorianDaysInMonth(year, month);
}

CivilDate DecodeDate(TDateTime value) {
    std::int64_t day = 0;
    if (!wholeDay(value, day)) return {};
    return civilFromDays(day + kValueEpochFromUnix);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidGregorianDate(year, month, day)) return 0;
    return static_cast<TDateTime>(daysFromCivil(year, month, day) - kValueEpochFromUnix);
}

int DayOfWeek(TDateTime value) {
    std::int64_t day = 0;
    if (!wholeDay(value, day)) return 0;
    // Day 0, 1899-12-30, was a Saturday (7).
    const std::int64_t r = ((day + 6) % 7 + 7) % 7;
    return static_cast<int>(r) + 1;
}

} // namespace quenda
