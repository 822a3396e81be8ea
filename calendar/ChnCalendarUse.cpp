#include "ChnCalendarUse.h"

#include <charconv>
#include <cmath>

namespace quenda {

namespace {

// ---- Gregorian festivals -----------------------------------------------------------------------------

struct HolidayRule {
    int month;
    int day;     // fixed day of the month, or 0 for a weekday rule
    int weekday; // 1 = Sunday ... 7 = Saturday
    int week;    // (day - 1) div 7: 1 is the second such weekday of the month, 3 the fourth
    std::string_view text;
};

// clang-format off
constexpr HolidayRule kHolidayRules[] = {
    {1, 1, 0, 0, "元旦节"},  {2, 14, 0, 0, "情人节"}, {3, 8, 0, 0, "妇女节"},  {4, 1, 0, 0, "愚人节"},
    {5, 1, 0, 0, "劳动节"},  {5, 4, 0, 0, "青年节"},  {5, 0, 1, 1, "母亲节"},  {6, 1, 0, 0, "儿童节"},
    {6, 0, 1, 2, "父亲节"},  {7, 1, 0, 0, "建党节"},  {8, 1, 0, 0, "建军节"},  {9, 10, 0, 0, "教师节"},
    {10, 1, 0, 0, "国庆节"}, {10, 6, 0, 0, "老人节"}, {10, 31, 0, 0, "万圣节"}, {11, 8, 0, 0, "记者日"},
    {11, 0, 5, 3, "感恩节"}, {12, 25, 0, 0, "圣诞节"},
};
// clang-format on

bool weekdayRuleHolds(const HolidayRule& rule, int year, int month, int day) {
    if (!IsValidGregorianDate(year, month, day) || (day - 1) / 7 != rule.week) return false;
    return DayOfWeek(EncodeDate(year, month, day)) == rule.weekday;
}

// ---- Lunar festivals ---------------------------------------------------------------------------------

struct LunarHolidayRule {
    int day;
    int month;
    std::string_view text;
};

// clang-format off
constexpr LunarHolidayRule kLunarHolidayRules[] = {
    {1, 1, "春节"}, {5, 5, "端午节"}, {7, 7, "七夕节"}, {8, 12, "腊八节"},
    {9, 9, "重阳节"}, {15, 8, "中秋节"}, {15, 1, "元宵节"},
};
// clang-format on

constexpr std::string_view kNewYearsEve = "除夕";

// The eve is the day whose next day is the first of the first month. Lunar months are 29 or 30 days long,
// so only their last two days need the second, costly conversion.
bool isNewYearsEve(int lunarDay, TDateTime value) {
    if (lunarDay < 29) return false;
    // The next whole day: value + 1 would stay on 1899-12-30 for a value between -1 and 0.
    const auto next = LunarDateOf(std::trunc(value) + 1);
    return next && next->month == 1 && next->day == 1;
}

// ---- Reign eras --------------------------------------------------------------------------------------

constexpr int kFirstEraYear = -2069;
constexpr int kFirstCommonEraYear = 1949; // from here on years have no reign name

// A field read as a whole number, 0 when it is not one (like the platform's StrToIntDef with 0).
int fieldAsInt(std::string_view row, int fieldNumber) {
    const std::string field = SplitField(row, ",", fieldNumber);
    const char* first = field.data();
    const char* last = first + field.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last ? value : 0;
}

// The start years, parsed once: the lookup runs on every change of lunar year in a month view.
const std::array<int, kEraTableRows>& eraStartYears() {
    static const std::array<int, kEraTableRows> starts = [] {
        std::array<int, kEraTableRows> result{};
        for (int i = 0; i < kEraTableRows; ++i)
            result[i] = fieldAsInt(EraTable[i], 1);
        return result;
    }();
    return starts;
}

// The first row (in table order) whose span [start, next row's start) holds the year; the last row only
// closes the span of the row before it. -1 when none does.
int eraRowOf(int year) {
    const auto& starts = eraStartYears();
    for (int i = 0; i + 1 < kEraTableRows; ++i) {
        if (starts[i] <= year && year < starts[i + 1]) return i;
    }
    return -1;
}

// Field k (from 1) of a row, untrimmed; the table has no blanks to trim.
std::string_view rowField(std::string_view row, int fieldNumber) {
    for (int k = 1; k < fieldNumber; ++k) {
        const auto comma = row.find(',');
        if (comma == std::string_view::npos) return {};
        row.remove_prefix(comma + 1);
    }
    return row.substr(0, row.find(','));
}

// Appends "[dynasty]title name era" and the era year ("元" for the first) to out; nothing outside the table.
void appendEraText(std::string& out, int year) {
    if (year < kFirstEraYear || year >= kFirstCommonEraYear) return;
    const int row = eraRowOf(year);
    if (row < 0) return;
    const std::string_view text = EraTable[row];
    const int eraYear = year - eraStartYears()[row] + 1;
    out.append("[").append(rowField(text, 4)).append("]");
    out.append(rowField(text, 5)).append(" ").append(rowField(text, 6)).append(" ");
    out.append(rowField(text, 7));
    if (eraYear == 1) {
        out.append("元");
    } else {
        char digits[12];
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, eraYear);
        out.append(digits, end);
    }
    out.append("年");
}

// Bytes a trim removes: blanks and control characters (UTF-8 lead and trail bytes are all above 0x7F).
bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

// ---- The date-information object ---------------------------------------------------------------------

void TChnCal::Fill(TDateTime value) {
    Date = value;
    const CivilDate civil = DecodeDate(value);
    if (civil.month == 0) return; // not a date of the years 1..9999
    const auto lunar = SolarToLunar(civil.year, civil.month, civil.day);
    if (!lunar) return;

    if (lunar->year == 0)
        ForgetYearTexts();
    else
        RefreshYearTexts(civil, lunar->year);
    RefreshMonthText(lunar->month, lunar->leap);
    LunarDayText = LunarDayName(lunar->day);
    ConstellationText = ConstellationName(ConstellationOf(civil.month, civil.day));
    HolidayText = HolidayOf(civil.day, value);
    LunarHolidayText = LunarHolidayOf(lunar->month, lunar->day, value);
    SolarTermText = SolarTermTextOf(value);
}

// Each year text is recomputed only when the year it belongs to changes, so a month view parses the era
// table and computes 立春 once or twice instead of for every day.
void TChnCal::RefreshYearTexts(const CivilDate& civil, int lunarYear) {
    if (lunarYear != LastLunarYear) {
        LastLunarYear = lunarYear;
        AnimalText = AnimalName(YearAnimal(lunarYear));
    }
    const bool newCivilYear = civil.year != LastCivilYear;
    if (newCivilYear) {
        LastCivilYear = civil.year;
        m_springStartDay = SpringStartDay(civil.year);
        EraText.clear();
        appendEraText(EraText, civil.year);
    }
    const bool beforeSpring = DayOfYear(civil.year, civil.month, civil.day) < m_springStartDay;
    if (newCivilYear || beforeSpring != LastBeforeSpring) {
        LastBeforeSpring = beforeSpring;
        YearStemBranchText = StemBranchName(YearStemBranchByTerm(civil.year, civil.month, civil.day));
    }
}

// Lunar year 0 is civil year 1 before its lunar new year; the engine counts no year 0, so such dates show
// no year texts. Clearing the keys makes the next named year compute all of them.
void TChnCal::ForgetYearTexts() {
    LastLunarYear = 0;
    LastCivilYear = 0;
    LastBeforeSpring = false;
    AnimalText.clear();
    YearStemBranchText.clear();
    EraText.clear();
}

void TChnCal::RefreshMonthText(int lunarMonth, bool leap) {
    if (lunarMonth == LastLunarMonth && leap == LastLunarLeap) return;
    LastLunarMonth = lunarMonth;
    LastLunarLeap = leap;
    LunarMonthText = quenda::LunarMonthText(lunarMonth, leap);
}

// ---- Free functions ----------------------------------------------------------------------------------

std::optional<LunarDate> LunarDateOf(TDateTime value) {
    const CivilDate civil = DecodeDate(value);
    if (civil.month == 0) return std::nullopt;
    return SolarToLunar(civil.year, civil.month, civil.day);
}

std::string_view HolidayOf(int dayOfMonth, TDateTime value) {
    const CivilDate civil = DecodeDate(value);
    std::string_view text;
    for (const HolidayRule& rule : kHolidayRules) {
        if (rule.month != civil.month) continue;
        const bool hit = rule.day != 0 ? rule.day == dayOfMonth
                                       : weekdayRuleHolds(rule, civil.year, civil.month, dayOfMonth);
        if (hit) text = rule.text;
    }
    return text;
}

std::string_view LunarHolidayOf(int lunarMonth, int lunarDay, TDateTime value) {
    for (const LunarHolidayRule& rule : kLunarHolidayRules) {
        if (rule.month == lunarMonth && rule.day == lunarDay) return rule.text;
    }
    if (lunarMonth == 12 && isNewYearsEve(lunarDay, value)) return kNewYearsEve;
    return {};
}

std::string EraOf(int year) {
    std::string text;
    appendEraText(text, year);
    return text;
}

std::string SplitField(std::string_view text, std::string_view separator, int fieldNumber) {
    if (fieldNumber < 1) return {};
    // An empty separator occurs nowhere: the whole text is the one field.
    for (int k = 1; k < fieldNumber; ++k) {
        const auto at = separator.empty() ? std::string_view::npos : text.find(separator);
        if (at == std::string_view::npos) return {};
        text.remove_prefix(at + separator.size());
    }
    if (!separator.empty()) text = text.substr(0, text.find(separator));
    while (!text.empty() && isTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string_view IfStr(bool condition, std::string_view whenTrue, std::string_view whenFalse) {
    return condition ? whenTrue : whenFalse;
}

} // namespace quenda
