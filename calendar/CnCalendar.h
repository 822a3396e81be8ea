#pragma once
// The Chinese calendar engine: civil arithmetic in a mixed Julian/Gregorian calendar, lunar dates from
// computed new moons and a leap-month table, the 24 solar terms by formula, the stem-branch cycle, the
// zodiac and the star sign. Every function is pure and allocation-free; none throws. Texts are UTF-8 and
// point into static tables. The new moons and the lunar new year of each civil year of -849..2100 are
// memoised on first use (safe from any thread); results are the same as computed afresh.

#include "DateTimeValue.h"

#include <optional>
#include <string_view>

namespace quenda {

// ---- Civil calendar arithmetic ------------------------------------------------------------------------
// Julian up to 1582-10-04, Gregorian from 1582-10-15; the ten dates between belong to neither.

int CalendarKind(int year, int month, int day); // 1 Julian, 2 Gregorian, 0 one of the ten dropped dates
bool IsLeapYearMixed(int year);
int DaysInMonth(int year, int month); // 0 for a month outside 1..12
int DayOfYear(int year, int month, int day);
// Proleptic Gregorian 0001-01-01 is day 1 (so the Julian 0001-01-01 of this calendar is -1); the dropped
// dates give 0. Day 0 of a month is the last day of the month before.
int DayNumber(int year, int month, int day);
std::optional<CivilDate> DateFromDayNumber(int dayNumber);
int CompareDates(int y1, int m1, int d1, int y2, int m2, int d2); // 1, 0 or -1

// ---- Lunar calendar ----------------------------------------------------------------------------------

inline constexpr int kFirstEngineYear = -849;
inline constexpr int kLastEngineYear = 2100;

struct LunarDate {
    int year = 0;  // the civil year or one less
    int month = 0; // 1..12
    int day = 0;   // 1..30, or -1 on the dropped dates of 1582
    bool leap = false;
    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

struct LunarMonthDay {
    int month = 0;
    int day = 0;
    bool leap = false;
    friend bool operator==(const LunarMonthDay&, const LunarMonthDay&) = default;
};

int LeapMonthOf(int lunarYear);                 // 0 none, 1..12, -1 outside -849..2100
int LeapMonthCount(int year);                   // running count of leap months since -849 (+1 for 1200..1499)
int LunarDayOf(int year, int month, int day);   // 1..30, or -1 when no new moon fits
int LunarMonthOf(int year, int month, int day); // month code, negative for a leap month
std::optional<LunarMonthDay> GetLunarMonthDay(int year, int month, int day);
std::optional<LunarDate> SolarToLunar(int year, int month, int day);
std::optional<CivilDate> LunarToSolar(int lunarYear, int lunarMonth, int lunarDay, bool leap);
int CompareLunarDates(int y1, int m1, int d1, bool leap1, int y2, int m2, int d2, bool leap2);
std::string_view LunarDayName(int lunarDay);                // 初一 ... 三十, empty outside 1..30
std::string_view LunarMonthText(int lunarMonth, bool leap); // 正月 ... 腊月, 闰二 ...; empty outside 1..12

// ---- Solar terms -------------------------------------------------------------------------------------

struct MonthDay {
    int month = 0; // 1..12, 0 when the term lies after December
    int day = 0;   // below 1 when the term lies before January
    friend bool operator==(const MonthDay&, const MonthDay&) = default;
};

std::string_view SolarTermName(int index);     // 0 立春 ... 23 大寒, empty outside 0..23
double SolarTermDay(int year, int termNumber); // real day of year; n = 1 小寒 ... 24 冬至, 25 next 小寒
std::optional<MonthDay> SolarTermDate(int year, int termIndex); // termIndex = n - 1, 0..23
std::string_view SolarTermTextOf(TDateTime value);

// ---- Stem-branch, zodiac, star sign ------------------------------------------------------------------

std::string_view StemBranchName(int index);    // 0 甲子 ... 59 癸亥
std::string_view AnimalName(int index);        // 0 鼠 ... 11 猪
std::string_view ConstellationName(int index); // 0 白羊 ... 11 双鱼
int YearStemBranch(int year);
int SpringStartDay(int year);                           // day of the year of 立春
int YearStemBranchByTerm(int year, int month, int day); // the year changes at 立春
int YearAnimal(int year);
int ConstellationOf(int month, int day);

} // namespace quenda
