// The lunar day: days since the latest computed new moon on or before a civil date, in Beijing time.
// New moons come from a mean-lunation series with the main periodic terms of sun and moon; a few dates
// where the series errs by a day are corrected from a fixed list.

#include "CnCalendarDetail.h"

#include <atomic>
#include <cmath>
#include <numbers>

namespace quenda::detail {

namespace {

constexpr double kRho = 57.29577951308232; // degrees per radian
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double fracPart(double x) {
    return x - std::trunc(x);
}

// Terms of the series that depend only on the lunation k that starts the civil year.
struct SeriesBase {
    double q = 0; // mean phase in days: Beijing time (+8/24), days beginning at midnight (+0.5)
    double s = 0;
    std::int64_t w = 0; // whole days, kept apart from the fractions for precision
    double a0 = 0;      // sun's mean anomaly
    double b0 = 0;      // moon's mean anomaly
    double g0 = 0;      // moon's argument of latitude
};

SeriesBase seriesBase(int year) {
    const double t = (year - 1899.5) / 100;
    const double k = std::floor((year - 1900.0) * 12.3685);
    const double t2 = t * t;
    const double t3 = t2 * t;
    SeriesBase b;
    b.q = 0.75933 - 0.0002172 * t2 - 0.000000155 * t3 + 0.53058868 * k - 0.000837 * t + 8.0 / 24 + 0.5;
    b.s = 0.1734 - 0.000393 * t;
    b.w = 693595 + 29 * static_cast<std::int64_t>(k);
    b.a0 = kTwoPi * fracPart(0.08084821133 * k) + (359.2242 - 0.0000333 * t2 - 0.00000347 * t3) / kRho;
    b.b0 = kTwoPi * fracPart(0.07171366128 * k) + (306.0253 + 0.0107306 * t2 + 0.00001236 * t3) / kRho;
    b.g0 = kTwoPi * fracPart(0.08519585128 * k) + (21.2964 - 0.0016528 * t2 - 0.00000239 * t3) / kRho;
    return b;
}

// The moment of new moon k + v as a day number with the time of day as fraction. A lunation of
// 29.53058868 days is split as 29 + 0.53058868 for k and 28 + 1.53058868 for v.
double newMoonMoment(const SeriesBase& b, int v) {
    const double a = b.a0 + 0.507984293 * v;
    const double m = b.b0 + 6.73377553 * v;
    const double g = b.g0 + 6.818486628 * v;
    const double x = b.s * std::sin(a) + (b.q + 1.53058868 * v) - 0.4068 * std::sin(m) +
                     0.0021 * std::sin(2 * a) + 0.0161 * std::sin(2 * m) + 0.0104 * std::sin(2 * g) -
                     0.0074 * std::sin(a - m) - 0.0051 * std::sin(a + m);
    return static_cast<double>(b.w + 28 * v) + x;
}

// Dates on which the series lands a day off the almanac, corrected after the search. Each span runs from
// (fromMonth, fromDay) to the end of that month and on to (toMonth, toDay) of the following month.
struct DayCorrection {
    int year, fromMonth, fromDay, toMonth, toDay, delta;
};
// clang-format off
constexpr DayCorrection kDayCorrections[] = {
    {1914, 11, 17, 12, 16, +1},
    {1916,  2,  3,  3,  3, +1}, // the lunar new year of 1916 is 02-03
    {1920, 11, 10, 12,  9, +1},
    {1924,  3,  5,  4,  3, +1},
    {2018, 11,  7, 12,  6, -1},
    {2057,  9, 28, 10, 27, -1},
};
// clang-format on

int corrected(int year, int month, int day, int lunarDay) {
    for (const DayCorrection& c : kDayCorrections) {
        if (year != c.year) continue;
        if (!((month == c.fromMonth && day >= c.fromDay) || (month == c.toMonth && day <= c.toDay))) continue;
        lunarDay += c.delta;
        if (c.delta > 0 && lunarDay > 30) lunarDay -= 30;
        if (c.delta < 0 && lunarDay < 1) lunarDay += 30;
    }
    return lunarDay;
}

// The latest new moon on or before day n gives the lunar day; a later one overrides an earlier one.
template <typename Days> int dayAfterNewMoon(const Days& moonDays, std::int64_t n) {
    int result = -1;
    for (const auto moonDay : moonDays) {
        const std::int64_t g = n - moonDay;
        if (g >= 0 && g <= 29) result = static_cast<int>(g) + 1;
    }
    return result;
}

// Per civil year of the engine, the 15 new-moon days, computed on first use. The flag is published after
// the days, so a reader that sees it set sees the days.
struct MoonMemo {
    std::atomic<bool> ready{false};
    std::array<std::atomic<int>, kNewMoonsPerYear> days{};
};
std::array<MoonMemo, kLastEngineYear - kFirstEngineYear + 1> moonMemo;

const std::array<std::atomic<int>, kNewMoonsPerYear>& memoNewMoonDays(int year) {
    MoonMemo& memo = moonMemo[static_cast<std::size_t>(year - kFirstEngineYear)];
    if (!memo.ready.load(std::memory_order_acquire)) {
        const NewMoonDays days = computeNewMoonDays(year);
        for (int v = 0; v < kNewMoonsPerYear; ++v)
            memo.days[v].store(static_cast<int>(days[v]), std::memory_order_relaxed);
        memo.ready.store(true, std::memory_order_release);
    }
    return memo.days;
}

} // namespace

NewMoonDays computeNewMoonDays(int year) {
    const SeriesBase base = seriesBase(year);
    NewMoonDays days{};
    for (int v = -1; v <= 13; ++v)
        days[static_cast<std::size_t>(v + 1)] = floorToInt64(newMoonMoment(base, v));
    return days;
}

int lunarDayOf(int year, int month, int day, Memo memo) {
    const std::int64_t n = DayNumber(year, month, day);
    int result = 0;
    if (memo == Memo::Use && year >= kFirstEngineYear && year <= kLastEngineYear) {
        std::array<int, kNewMoonsPerYear> days{};
        const auto& stored = memoNewMoonDays(year);
        for (int v = 0; v < kNewMoonsPerYear; ++v)
            days[v] = stored[v].load(std::memory_order_relaxed);
        result = dayAfterNewMoon(days, n);
    } else {
        result = dayAfterNewMoon(computeNewMoonDays(year), n);
    }
    return corrected(year, month, day, result);
}

} // namespace quenda::detail

namespace quenda {

int LunarDayOf(int year, int month, int day) {
    return detail::lunarDayOf(year, month, day, detail::Memo::Use);
}

} // namespace quenda
