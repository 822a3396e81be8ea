// Lunar months and years: the month from a count of lunations since -849-01-21 corrected by the leap-month
// table, the year from the civil date of the lunar new year, found by bisection over day numbers.

#include "CnCalendar.h"

#include "CnCalendarDetail.h"
#include "LeapMonthTable.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace quenda {

namespace {

constexpr int kCountEpoch = -310443;        // day number of -849-01-21, where the lunation count starts
constexpr double kMeanLunation = 29.530588; // days, as the month count rounds with it
constexpr int kMaxProbes = 100;

bool inEngineYears(int year) {
    return year >= kFirstEngineYear && year <= kLastEngineYear;
}

// The month count drifts against the historical calendars; these steps realign it (sums of the steps
// +1 if y <= 240, -1 if y <= 237, +1 if y < 24, -1 if y < 9, +1 if y <= -255, +2 if y <= -256,
// +1 if y <= -722, and finally -3).
int historicalOffset(int year) {
    // clang-format off
    if (year >= 241)  return -3;
    if (year >= 238)  return -2;
    if (year >= 24)   return -3;
    if (year >= 9)    return -2;
    if (year >= -254) return -3;
    if (year == -255) return -2;
    if (year >= -721) return 0;
    return 1;
    // clang-format on
}

// The sign of the dividend, as the month arithmetic expects.
std::int64_t truncMod(std::int64_t a, std::int64_t b) {
    return a % b;
}

} // namespace

int LeapMonthOf(int lunarYear) {
    if (!inEngineYears(lunarYear)) return -1;
    return detail::leapMonthFromChar(
        detail::LeapMonthTable[static_cast<std::size_t>(lunarYear - kFirstEngineYear)]);
}

int LeapMonthCount(int year) {
    // The running count holds still outside the table: nothing before -849 and nothing after 2100 is counted.
    if (year < kFirstEngineYear) return 0;
    if (year > kLastEngineYear) year = kLastEngineYear;
    return detail::leapCountOf(year);
}

namespace detail {

int lunarMonthOf(int year, int month, int day, int lunarDay) {
    const std::int64_t elapsed =
        static_cast<std::int64_t>(DayNumber(year, month, day)) - kCountEpoch - lunarDay;
    std::int64_t n = roundHalfEven(static_cast<double>(elapsed) / kMeanLunation) - LeapMonthCount(year);
    n += historicalOffset(year);
    std::int64_t m = truncMod(n, 12) + 1;
    const int leap = LeapMonthOf(year);
    const int leapBefore = year > kFirstEngineYear ? LeapMonthOf(year - 1) : -1;
    // A January day still inside the leap month that began in the previous civil year.
    if (leapBefore == m && month == 1 && day < lunarDay) return static_cast<int>(-m);
    if (leap == m) {
        if (month >= 3) return static_cast<int>(-m);
        return leap == 12 ? static_cast<int>(-m) : static_cast<int>(m + 1);
    }
    if (leap > m || (month < m && leap > 0)) ++m;
    return static_cast<int>(truncMod(m - 1, 12) + 1);
}

std::optional<LunarMonthDay> getLunarMonthDay(int year, int month, int day, Memo memo) {
    if (!inEngineYears(year)) return std::nullopt;
    const int lunarDay = lunarDayOf(year, month, day, memo);
    const int code = lunarMonthOf(year, month, day, lunarDay);
    return LunarMonthDay{std::abs(code), lunarDay, code < 0};
}

} // namespace detail

int LunarMonthOf(int year, int month, int day) {
    return detail::lunarMonthOf(year, month, day, LunarDayOf(year, month, day));
}

std::optional<LunarMonthDay> GetLunarMonthDay(int year, int month, int day) {
    return detail::getLunarMonthDay(year, month, day, detail::Memo::Use);
}

int CompareLunarDates(int y1, int m1, int d1, bool leap1, int y2, int m2, int d2, bool leap2) {
    if (y1 != y2) return y1 > y2 ? 1 : -1;
    if (m1 != m2) return m1 > m2 ? 1 : -1;
    // A leap month follows the month of the same number.
    if (leap1 != leap2) return leap1 ? 1 : -1;
    if (d1 != d2) return d1 > d2 ? 1 : -1;
    return 0;
}

namespace detail {

namespace {

// State of the bisection in LunarToSolar: the probe's lunar year is not computed but tracked from the
// direction of travel, since a probe's month number falls when it crosses a new year going forward.
struct Bisection {
    int lo = 0;
    int hi = 0;
    int estimatedYear = 0;
    int direction = 0; // +1 forward, -1 backward, 0 none yet
    int previousMonth = 0;
    bool upper = false;
};

int nextProbe(Bisection& b) {
    const int mid = static_cast<int>((static_cast<std::int64_t>(b.lo) + b.hi) / 2) + (b.upper ? 1 : 0);
    // From now on probe the upper half: the last two probes of a narrowed interval are lo, then hi.
    if (b.hi - b.lo == 1) b.upper = true;
    return mid;
}

void trackYear(Bisection& b, int probeMonth) {
    if (b.direction > 0 && probeMonth < b.previousMonth) ++b.estimatedYear;
    if (b.direction < 0 && probeMonth > b.previousMonth) --b.estimatedYear;
}

} // namespace

std::optional<CivilDate> lunarToSolar(int lunarYear, int lunarMonth, int lunarDay, bool leap, Memo memo) {
    const int leapMonth = LeapMonthOf(lunarYear);
    if (leap && (leapMonth == -1 ? 0 : leapMonth) != lunarMonth) return std::nullopt;
    // Every probe of a year outside the engine's range fails; stop before its day numbers are computed.
    if (!inEngineYears(lunarYear)) return std::nullopt;
    Bisection b{DayNumber(lunarYear, 1, 1), DayNumber(lunarYear + 1, 12, 31), lunarYear};
    for (int probes = 1; b.hi > b.lo && probes <= kMaxProbes; ++probes) {
        const int mid = nextProbe(b);
        const std::optional<CivilDate> date = DateFromDayNumber(mid);
        if (!date) return std::nullopt;
        const std::optional<LunarMonthDay> probe = getLunarMonthDay(date->year, date->month, date->day, memo);
        if (!probe) return std::nullopt;
        trackYear(b, probe->month);
        const int r = CompareLunarDates(b.estimatedYear, probe->month, probe->day, probe->leap, lunarYear,
                                        lunarMonth, lunarDay, leap);
        if (r == 0) return date;
        if (r < 0) {
            b.lo = mid;
            b.direction = 1;
        } else {
            b.hi = mid;
            b.direction = -1;
        }
        b.previousMonth = probe->month;
    }
    return std::nullopt;
}

namespace {

// Per civil year of the engine, the lunar new year found by LunarToSolar(year, 1, 1, false), on first use.
// state: 0 not yet known, 1 not found, 2 found (the date is published before the state).
struct NewYearMemo {
    std::atomic<int> state{0};
    std::atomic<int> year{0};
    std::atomic<int> month{0};
    std::atomic<int> day{0};
};
std::array<NewYearMemo, kLastEngineYear - kFirstEngineYear + 1> newYearMemo;

} // namespace

std::optional<CivilDate> lunarNewYear(int year) {
    if (!inEngineYears(year)) return std::nullopt; // LunarToSolar fails for these years
    NewYearMemo& memo = newYearMemo[static_cast<std::size_t>(year - kFirstEngineYear)];
    int state = memo.state.load(std::memory_order_acquire);
    if (state == 0) {
        const std::optional<CivilDate> found = lunarToSolar(year, 1, 1, false, Memo::Use);
        if (found) {
            memo.year.store(found->year, std::memory_order_relaxed);
            memo.month.store(found->month, std::memory_order_relaxed);
            memo.day.store(found->day, std::memory_order_relaxed);
        }
        state = found ? 2 : 1;
        memo.state.store(state, std::memory_order_release);
    }
    if (state == 1) return std::nullopt;
    return CivilDate{memo.year.load(std::memory_order_relaxed), memo.month.load(std::memory_order_relaxed),
                     memo.day.load(std::memory_order_relaxed)};
}

std::optional<LunarDate> solarToLunar(int year, int month, int day, Memo memo) {
    const std::optional<LunarMonthDay> md = getLunarMonthDay(year, month, day, memo);
    if (!md) return std::nullopt;
    LunarDate result{year, md->month, md->day, md->leap};
    // Dates before the lunar new year of their civil year belong to the previous lunar year. When the new
    // year cannot be found the lunar year stays the civil year.
    const std::optional<CivilDate> newYear =
        memo == Memo::Use ? lunarNewYear(year) : lunarToSolar(year, 1, 1, false, Memo::Bypass);
    if (newYear && CompareDates(year, month, day, newYear->year, newYear->month, newYear->day) == -1)
        --result.year;
    return result;
}

} // namespace detail

std::optional<LunarDate> SolarToLunar(int year, int month, int day) {
    return detail::solarToLunar(year, month, day, detail::Memo::Use);
}

std::optional<CivilDate> LunarToSolar(int lunarYear, int lunarMonth, int lunarDay, bool leap) {
    return detail::lunarToSolar(lunarYear, lunarMonth, lunarDay, leap, detail::Memo::Use);
}

std::string_view LunarDayName(int lunarDay) {
    // clang-format off
    static constexpr std::string_view kNames[30] = {
        "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
        "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
        "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十",
    };
    // clang-format on
    if (lunarDay < 1 || lunarDay > 30) return {};
    return kNames[lunarDay - 1];
}

namespace {

// clang-format off
constexpr std::string_view LunarMonthNames[12] = {"正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "冬", "腊"};
// clang-format on

// Month texts composed once at compile time, so each can be handed out as a view: "正月" for an ordinary
// month, "闰正" (no 月) for a leap month. Every part is one three-byte UTF-8 character.
using MonthText = std::array<char, 6>;
constexpr MonthText joinCharacters(std::string_view first, std::string_view second) {
    MonthText text{};
    for (std::size_t i = 0; i < 3; ++i) {
        text[i] = first[i];
        text[3 + i] = second[i];
    }
    return text;
}
constexpr auto composeMonthTexts(bool leap) {
    std::array<MonthText, 12> texts{};
    for (std::size_t i = 0; i < 12; ++i)
        texts[i] = leap ? joinCharacters("闰", LunarMonthNames[i]) : joinCharacters(LunarMonthNames[i], "月");
    return texts;
}
constexpr auto kMonthTexts = composeMonthTexts(false);
constexpr auto kLeapMonthTexts = composeMonthTexts(true);

} // namespace

std::string_view LunarMonthText(int lunarMonth, bool leap) {
    if (lunarMonth < 1 || lunarMonth > 12) return {};
    const MonthText& text = (leap ? kLeapMonthTexts : kMonthTexts)[static_cast<std::size_t>(lunarMonth - 1)];
    return {text.data(), text.size()};
}

} // namespace quenda
