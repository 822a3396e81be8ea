#pragma once
// The date-information object and the texts a calendar view shows for one date: lunar month and day,
// stem-branch year, zodiac animal, star sign, solar term, Gregorian and lunar festivals, reign era.

#include "CnCalendar.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// Filled once per shown date. Besides the texts it remembers the lunar year and month of the fill that last
// refreshed the year and month texts: a fill in the same lunar year keeps the earlier year texts.
class TChnCal {
public:
    int LastLunarYear = 0;
    int LastLunarMonth = 0;
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
