#pragma once
// Engine internals shared by its source files and its tests: the plain (never memoised) computations that
// the memoised public functions must agree with, and saturating conversions.

#include "CnCalendar.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace quenda::detail {

// Whether a computation may read and fill the per-year memo tables. Both give identical results.
enum class Memo { Use, Bypass };

inline constexpr int kNewMoonsPerYear = 15; // lunations k - 1 .. k + 13 of a civil year

// Floor of the Beijing-time day number of each of the year's 15 computed new moons.
using NewMoonDays = std::array<std::int64_t, kNewMoonsPerYear>;
NewMoonDays computeNewMoonDays(int year);

int lunarDayOf(int year, int month, int day, Memo memo);
int lunarMonthOf(int year, int month, int day, int lunarDay);
std::optional<LunarMonthDay> getLunarMonthDay(int year, int month, int day, Memo memo);
std::optional<CivilDate> lunarToSolar(int lunarYear, int lunarMonth, int lunarDay, bool leap, Memo memo);
std::optional<LunarDate> solarToLunar(int year, int month, int day, Memo memo);

// The civil date of the lunar new year of a civil year, LunarToSolar(year, 1, 1, false), memoised.
std::optional<CivilDate> lunarNewYear(int year);

// Floor and round-half-even of a real into int, saturating instead of overflowing for absurd arguments.
inline std::int64_t floorToInt64(double x) {
    constexpr double kLimit = 9.0e18;
    if (!(x > -kLimit)) return std::isnan(x) ? 0 : static_cast<std::int64_t>(-kLimit);
    if (!(x < kLimit)) return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(std::floor(x));
}

inline int saturateToInt(std::int64_t x) {
    if (x < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (x > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(x);
}

inline int floorToInt(double x) {
    return saturateToInt(floorToInt64(x));
}

// Round to nearest with ties to even (std::nearbyint in the default rounding mode).
inline std::int64_t roundHalfEven(double x) {
    return floorToInt64(std::nearbyint(x));
}

} // namespace quenda::detail
