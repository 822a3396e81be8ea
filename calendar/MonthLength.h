#pragma once
// Month lengths shared by the engine's mixed calendar and the platform's proleptic Gregorian one; the two
// differ only in which years are leap years.

namespace quenda::detail {

// 28..31 days; 0 for a month outside 1..12.
constexpr int monthLength(int month, bool leapYear) {
    // clang-format off
    constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // clang-format on
    if (month < 1 || month > 12) return 0;
    return month == 2 && leapYear ? 29 : kLengths[month - 1];
}

} // namespace quenda::detail
