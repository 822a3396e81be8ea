#pragma once
// The day table of the month calendar: what each of the 42 grid cells shows, the week numbers of the grid
// rows, and the texts of the title cells and the footer. Plain logic over the calendar engine.

#include "CalendarLook.h"
#include "ChnCalendarUse.h"
#include "HolidayTable.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace quenda {

// One cell of the day table.
struct TcnDateInf {
    int Day = 0;
    bool Valid = false;
    QString DayText;
    QString LunarMonth;
    QString LunarDay;
    QString LunarText;
    QString Holiday;      // the Gregorian festival, the lunar festival and the solar term of the day, each
    QString LunarHoliday; // empty when there is none; the lunar line shows one of them
    QString SolarTerm;
    TColor DayColor = 0;
    TColor LunarColor = 0;
    // Marks beside the record's own fields: the day's statutory rest or work mark with the holiday's name,
    // and whether its note holds visible text.
    std::optional<DayKind> HolidayKind;
    QString HolidayName;
    bool HasNote = false;
};

// The colours the day table is built with; changing one rebuilds the table.
struct DayColours {
    TColor ColorDate = RGB(79, 79, 79);
    TColor ColorCnDate = RGB(0, 128, 0);
    TColor ColorHoliday = RGB(255, 128, 0);
    TColor ColorLunarHolDay = RGB(83, 83, 255);
    TColor ColorCnHolDay = RGB(255, 128, 0);
};

inline constexpr int kCellCount = 50;
inline constexpr int kLastDayCell = 37;
inline constexpr int kConstellationCell = 40;
inline constexpr int kStemBranchCell = 41;
inline constexpr int kAnimalYearCell = 42;
inline constexpr int kWeekRows = 6;

// Grid position of a day-table cell (row 1..6, column 1..7) and back.
struct CellPos {
    int column = 0;
    int row = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};
CellPos CellPosOf(int cellNumber);
int CellNumberOf(int column, int row);

// Cells numbered 1..50 and week numbers numbered 1..6, as the drawing code addresses them.
class TDayTable {
public:
    TcnDateInf& Cells(int number) { return m_cells.at(number); }
    const TcnDateInf& Cells(int number) const { return m_cells.at(number); }
    // Entry k (1..6) is the week number shown in grid row k, empty when the month has fewer rows.
    const QString& WeekNumbers(int row) const { return m_weekNumbers.at(row); }
    int WeekCount() const { return m_weekCount; }

    void ClearWeekNumbers();
    void AppendWeekNumber(int week);

private:
    std::array<TcnDateInf, kCellCount + 1> m_cells{}; // index 0 unused
    std::array<QString, kWeekRows + 1> m_weekNumbers{};
    int m_weekCount = 0;
};

// ISO 8601 week of a proleptic Gregorian date: weeks start on Monday, week 1 holds the first Thursday.
int IsoWeekNumber(int year, int month, int day);
// The ISO week of the Monday after a Sunday, which may lie in the next month or year.
int IsoWeekOfFollowingMonday(int year, int month, int sunday);

// What the lunar line of a day shows. Later rules win: the lunar day (or the month on its first day), the
// Gregorian festival, the solar term, the lunar festival.
struct LunarLine {
    QString text;
    TColor colour = 0;
};
LunarLine ChooseLunarLine(const TChnCal& info, const DayColours& colours);

// The footer: "YYYY-MM-DD 农历<lunar date>", or the reign era instead of the date before 1949.
QString SelectedText(int year, int month, int day, const QString& eraText, const QString& cnDate);

// "国庆节 休": a day's holiday and its mark, as the footer and a screen reader give it; empty for none.
QString HolidayMarkText(const TcnDateInf& cell);
QString HolidayMarkText(const HolidayDay& day);

// How a month is laid out and what it is marked with, beyond the day table's own fields.
struct MonthOptions {
    bool mondayFirst = false;               // columns Monday..Sunday instead of Sunday..Saturday
    const HolidayTable* holidays = nullptr; // the rest and work days; none marked without
};

// The column (1..7) of a weekday counted 1 = Sunday ... 7 = Saturday.
int ColumnOfWeekday(int weekday, bool mondayFirst);
// True for the Saturday and Sunday columns, whose day numbers and header are red.
bool IsWeekendColumn(int column, bool mondayFirst);

// Fills the title cells 41 and 42 from the date information of the selected date, then every day of the
// month (filling `info` for each), the week numbers and the constellation cell 40. Week numbers are the
// distinct ISO weeks of the month in order; in a month that starts on a Sunday, the week of each row's
// Monday for every row that holds a day. With Monday first every row is one ISO week. The days' holiday
// marks come from `options`; their note marks are cleared. `onSelectedDay` is called with the selected day's
// cell once its texts are filled, before it is marked valid and before the later days. Returns the cell of
// the selected day, or 0 when `day` is not in the month. Throws only what the engine, allocation or
// `onSelectedDay` throws.
int FillMonth(TDayTable& table, TChnCal& info, int year, int month, int day, const DayColours& colours,
              const std::function<void(int cell)>& onSelectedDay = {}, const MonthOptions& options = {});

} // namespace quenda
