// The 24 solar terms by a closed formula for the moment the sun reaches each 15-degree point, counted in
// days of the civil year of the engine's mixed calendar (so terms drift in the Julian centuries).

#include "CnCalendar.h"

#include "CnCalendarDetail.h"

#include <cmath>

namespace quenda {

namespace {

// Terms of 1900-2100 that the formula puts within minutes of midnight on the wrong side; moved by a whole
// day so they fall on the almanac's date.
struct TermShift {
    int year, termNumber, days;
};
// clang-format off
constexpr TermShift kTermShifts[] = {
    {1911,  9, +1}, {1912, 19, +1}, {1923,  4, -1}, {1927, 17, +1}, {1928, 12, +1}, {1979,  2, -1},
    {2016, 13, +1}, {2020, 23, +1}, {2037, 18, +1}, {2040, 19, +1}, {2042, 14, +1}, {2051,  6, -1},
    {2059,  4, +1}, {2083,  3, -1}, {2084,  6, -1}, {2085,  1, -1}, {2097,  9, +1},
};
// clang-format on

int termShift(int year, int termNumber) {
    for (const TermShift& s : kTermShifts)
        if (s.year == year && s.termNumber == termNumber) return s.days;
    return 0;
}

} // namespace

std::string_view SolarTermName(int index) {
    // clang-format off
    static constexpr std::string_view SolarTermNames[24] = {
        "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
        "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒",
    };
    // clang-format on
    if (index < 0 || index > 23) return {};
    return SolarTermNames[index];
}

double SolarTermDay(int year, int termNumber) {
    // Years before 1 count astronomically here (1 BC is year 0).
    const double y = year <= 0 ? year + 1.0 : year;
    const double n = termNumber;
    const double p =
        (365.2423112 - 0.000000000000064 * (y - 100) * (y - 100) - 0.00000003047 * (y - 100)) * y +
        15.218427 * n + 1721050.71301;
    const double w = 0.0003 * y - 0.372781384 - 0.2617913325 * n; // radians
    const double q = (1.945 * std::sin(w) - 0.01206 * std::sin(2 * w)) * (1.048994 - 0.00002583 * y);
    const double r = -0.0018 * std::sin(2.313908653 * y - 0.439822951 - 3.0443 * n);
    // The day number of the last day of the previous year turns the Julian day into a day of the year.
    const int yearBefore = DayNumber(detail::saturateToInt(static_cast<std::int64_t>(y)), 1, 0);
    return (p + q + r) - yearBefore - 1721425 + termShift(year, termNumber);
}

std::optional<MonthDay> SolarTermDate(int year, int termIndex) {
    if (termIndex < 0 || termIndex > 23) return std::nullopt;
    double t = SolarTermDay(year, termIndex + 1);
    for (int month = 1; month <= 12; ++month) {
        const int length = DaysInMonth(year, month);
        // A value between the month length and the length + 1 is the month's last day.
        if (t < length + 1) return MonthDay{month, detail::floorToInt(t)};
        t -= length;
    }
    return MonthDay{0, detail::floorToInt(t)}; // after December
}

std::string_view SolarTermTextOf(TDateTime value) {
    // Only the two terms that normally fall in the month are tried, so a term drifted into a neighbouring
    // month is never named.
    const CivilDate date = DecodeDate(value);
    const int first = 2 * (date.month - 1);
    if (first < 0 || first > 22) return {};
    for (int index = first; index <= first + 1; ++index) {
        const std::optional<MonthDay> term = SolarTermDate(date.year, index);
        if (term && term->month == date.month && term->day == date.day)
            return SolarTermName((index + 22) % 24);
    }
    return {};
}

} // namespace quenda
