#pragma once
// The platform's date-time value: a 64-bit day count whose whole part is days since 1899-12-30 and whose
// fraction is the time of day, in the proleptic Gregorian calendar. Values before 1899-12-30 are negative;
// as on the platform, the day is the whole part truncated toward zero and the time is the fraction's
// magnitude (-1.25 is 1899-12-29 06:00).

namespace quenda {

using TDateTime = double;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Day of the proleptic Gregorian calendar for a value. A value outside the years 1..9999 (or NaN, or an
// infinity) decodes to {0, 0, 0}, which is no date: callers that may see such values check the month.
CivilDate DecodeDate(TDateTime value);

// The value of midnight at the start of a proleptic Gregorian date; 0 when the date does not exist.
TDateTime EncodeDate(int year, int month, int day);

// False when the date does not exist in the proleptic Gregorian calendar of years 1..9999.
bool IsValidGregorianDate(int year, int month, int day);

// Weekday of the value's day, 1 = Sunday ... 7 = Saturday; 0 outside the years 1..9999.
int DayOfWeek(TDateTime value);

// Days in a proleptic Gregorian month (the platform's rule, not the engine's mixed calendar); 0 for a month
// outside 1..12.
int GregorianDaysInMonth(int year, int month);

} // namespace quenda
