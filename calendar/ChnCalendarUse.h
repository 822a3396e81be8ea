#pragma once
// The date-information object and the texts a calendar view shows for one date: lunar month and day,
// stem-branch year, zodiac animal, star sign, solar term, Gregorian and lunar festivals, reign era.

#include "CnCalendar.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// Filled once per shown date. Every text is what a new object would give for that date; the object remembers
// what each remembered text was computed from and recomputes a text only when that changes: the lunar year
// for the animal, the lunar month and its leap flag for the month text, the civil year for the era, the
// civil year and the side of 立春 for the stem-branch year. The Last* fields are those keys; a new object
// holds zeros. Lunar year 0 (civil year 1 before its lunar new year) has no year texts.
class TChnCal {
public:
    int LastLunarYear = 0;         // AnimalText
    int LastLunarMonth = 0;        // LunarMonthText: the month number ...
    bool LastLunarLeap = false;    // ... and its leap flag
    int LastCivilYear = 0;         // EraText, and with LastBeforeSpring the YearStemBranchText
    bool LastBeforeSpring = false; // the date lay before 立春 of LastCivilYear
    TDateTime Date = 0;
    std::string SolarTermText;
    std::string HolidayText;
    std::string LunarMonthText;
    std::string YearStemBranchText;
    std::string LunarHolidayText;
    std::string LunarDayText;
    std::string AnimalText;
    std::string ConstellationText;
    std::string EraText;

    void Fill(TDateTime value);

private:
    void RefreshYearTexts(const CivilDate& civil, int lunarYear);
    void ForgetYearTexts();
    void RefreshMonthText(int lunarMonth, bool leap);

    int m_springStartDay = 0; // day of the year of 立春 in LastCivilYear
};

std::optional<LunarDate> LunarDateOf(TDateTime value);
std::string_view HolidayOf(int dayOfMonth, TDateTime value);
std::string_view LunarHolidayOf(int lunarMonth, int lunarDay, TDateTime value);
std::string EraOf(int year); // "[dynasty]title name era n年", empty outside -2069..1948
std::string SplitField(std::string_view text, std::string_view separator, int fieldNumber);
std::string_view IfStr(bool condition, std::string_view whenTrue, std::string_view whenFalse);

inline constexpr int kEraTableRows = 529;
// start year, length, offset, dynasty, ruler title, ruler name, era name
extern const std::array<std::string_view, kEraTableRows> EraTable;

} // namespace quenda
