#include "CalendarDayTable.h"

#include <QDate>

namespace quenda {

namespace {

QString FromEngine(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr TColor kRed = 255;

QString KindText(DayKind kind) {
    const std::string_view text = DayKindText(kind);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Cells 1..37 start each month empty; days of the neighbouring months are never shown.
void ClearDayCells(TDayTable& table, const DayColours& colours, bool mondayFirst) {
    table.ClearWeekNumbers();
    for (int n = 1; n <= kLastDayCell; ++n) {
        TcnDateInf& cell = table.Cells(n);
        cell.Valid = false;
        cell.LunarMonth.clear();
        cell.LunarDay.clear();
        cell.LunarText.clear();
        cell.Holiday.clear();
        cell.LunarHoliday.clear();
        cell.SolarTerm.clear();
        cell.HolidayKind.reset();
        cell.HolidayName.clear();
        cell.HasNote = false;
        cell.DayColor = IsWeekendColumn((n - 1) % 7 + 1, mondayFirst) ? kRed : colours.ColorDate;
    }
}

void MarkHoliday(TcnDateInf& cell, const HolidayTable* holidays, int year, int month, int day) {
    const HolidayDay* holiday = holidays != nullptr ? holidays->Find(year, month, day) : nullptr;
    if (holiday == nullptr) return;
    cell.HolidayKind = holiday->kind;
    cell.HolidayName = FromEngine(holiday->name);
}

// The week numbers of the grid rows, appended as day d fills cell i.
void AppendWeek(TDayTable& table, const MonthOptions& options, int firstCell, int year, int month, int d,
                int i, int& previousWeek) {
    if (options.mondayFirst) {
        // Each row is one ISO week, Monday to Sunday.
        if (d == 1 || i % 7 == 1) table.AppendWeekNumber(IsoWeekNumber(year, month, d));
    } else if (firstCell == 1) {
        // Rows run Sunday to Saturday, ISO weeks Monday to Sunday: listing the distinct weeks would
        // put the 1st's week, which ends on that Sunday, beside the first row and shift every row.
        if (i % 7 == 1) table.AppendWeekNumber(IsoWeekOfFollowingMonday(year, month, d));
    } else {
        const int week = IsoWeekNumber(year, month, d);
        if (d == 1 || week != previousWeek) table.AppendWeekNumber(week);
        previousWeek = week;
    }
}

void FillDay(TcnDateInf& cell, const TChnCal& info, int day, const DayColours& colours) {
    cell.DayText = QString::number(day);
    cell.Day = day;
    cell.LunarMonth = FromEngine(info.LunarMonthText);
    cell.LunarDay = FromEngine(info.LunarDayText);
    cell.Holiday = FromEngine(info.HolidayText);
    cell.LunarHoliday = FromEngine(info.LunarHolidayText);
    cell.SolarTerm = FromEngine(info.SolarTermText);
    LunarLine line = ChooseLunarLine(info, colours);
    cell.LunarText = std::move(line.text);
    cell.LunarColor = line.colour;
}

} // namespace

CellPos CellPosOf(int cellNumber) {
    return {(cellNumber - 1) % 7 + 1, (cellNumber - 1) / 7 + 1};
}

int CellNumberOf(int column, int row) {
    return (row - 1) * 7 + column;
}

void TDayTable::ClearWeekNumbers() {
    for (QString& week : m_weekNumbers)
        week.clear();
    m_weekCount = 0;
}

void TDayTable::AppendWeekNumber(int week) {
    if (m_weekCount < kWeekRows) m_weekNumbers.at(++m_weekCount) = QString::number(week);
}

int IsoWeekNumber(int year, int month, int day) {
    return QDate(year, month, day).weekNumber();
}

int IsoWeekOfFollowingMonday(int year, int month, int sunday) {
    return QDate(year, month, sunday).addDays(1).weekNumber();
}

LunarLine ChooseLunarLine(const TChnCal& info, const DayColours& colours) {
    LunarLine line;
    if (info.LunarDayText == "初一")
        line = {FromEngine(info.LunarMonthText), kRed};
    else
        line = {FromEngine(info.LunarDayText), colours.ColorCnDate};
    if (!info.HolidayText.empty()) line = {FromEngine(info.HolidayText), colours.ColorHoliday};
    if (!info.SolarTermText.empty()) line = {FromEngine(info.SolarTermText), colours.ColorLunarHolDay};
    if (!info.LunarHolidayText.empty()) line = {FromEngine(info.LunarHolidayText), colours.ColorCnHolDay};
    return line;
}

QString HolidayMarkText(const TcnDateInf& cell) {
    if (!cell.HolidayKind) return {};
    return cell.HolidayName + QLatin1Char(' ') + KindText(*cell.HolidayKind);
}

QString HolidayMarkText(const HolidayDay& day) {
    return FromEngine(day.name) + QLatin1Char(' ') + KindText(day.kind);
}

int ColumnOfWeekday(int weekday, bool mondayFirst) {
    return mondayFirst ? (weekday + 5) % 7 + 1 : weekday;
}

bool IsWeekendColumn(int column, bool mondayFirst) {
    return column == ColumnOfWeekday(1, mondayFirst) || column == ColumnOfWeekday(7, mondayFirst);
}

QString SelectedText(int year, int month, int day, const QString& eraText, const QString& cnDate) {
    const QString date = year >= 1949 ? QStringLiteral("%1-%2-%3")
                                            .arg(year, 4, 10, QLatin1Char('0'))
                                            .arg(month, 2, 10, QLatin1Char('0'))
                                            .arg(day, 2, 10, QLatin1Char('0'))
                                      : eraText;
    return date + QStringLiteral(" 农历") + cnDate;
}

int FillMonth(TDayTable& table, TChnCal& info, int year, int month, int day, const DayColours& colours,
              const std::function<void(int cell)>& onSelectedDay, const MonthOptions& options) {
    table.Cells(kConstellationCell).Valid = true;
    table.Cells(kStemBranchCell).Valid = true;
    table.Cells(kAnimalYearCell).Valid = true;
    table.Cells(kStemBranchCell).DayText = FromEngine(info.YearStemBranchText);
    table.Cells(kAnimalYearCell).DayText = FromEngine(info.AnimalText) + QStringLiteral("年");
    ClearDayCells(table, colours, options.mondayFirst);

    const TDateTime first = EncodeDate(year, month, 1);
    const int firstCell = ColumnOfWeekday(DayOfWeek(first), options.mondayFirst);
    const int days = GregorianDaysInMonth(year, month);
    int selectedCell = 0;
    int previousWeek = 0;
    for (int d = 1; d <= days; ++d) {
        const int i = firstCell + d - 1;
        info.Fill(EncodeDate(year, month, d));
        AppendWeek(table, options, firstCell, year, month, d, i, previousWeek);
        FillDay(table.Cells(i), info, d, colours);
        MarkHoliday(table.Cells(i), options.holidays, year, month, d);
        if (d == day) {
            table.Cells(kConstellationCell).DayText = FromEngine(info.ConstellationText);
            selectedCell = i;
            // The selection moves as soon as its day is filled: should a later day fail, the grid
            // already shows the new date.
            if (onSelectedDay) onSelectedDay(i);
        }
        table.Cells(i).Valid = true;
    }
    return selectedCell;
}

} // namespace quenda
