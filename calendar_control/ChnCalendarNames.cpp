// What screen readers hear of TChnCalendar: the names and roles of its parts and the names of its days.
#include "ChnCalendarPicker.h"

#include "Accessibility.h"
#include "CalendarAccessible.h"

#include <climits>

namespace quenda {

void TChnCalendar::DescribeParts() {
    InstallCalendarAccessibility();
    setAccessibleName(QStringLiteral("日历"));
    // The month and year open their menus; their names follow the date.
    for (TLinkLabel* label : {m_monthLabel, m_yearLabel, m_todayLabel}) {
        const auto role = label == m_todayLabel ? QAccessible::Button : QAccessible::ButtonMenu;
        MakePressable(
            *label, label->text(), [label] { label->Press(); }, role);
    }
    m_monthSpin->setAccessibleName(QStringLiteral("月份"));
    m_yearSpin->setAccessibleName(QStringLiteral("年份"));
}

// The month and year buttons say what they show, the table which month it holds.
void TChnCalendar::NameDateParts(const CivilDate& date) {
    m_monthLabel->setAccessibleName(QStringLiteral("%1月").arg(date.month));
    m_yearLabel->setAccessibleName(QStringLiteral("%1年").arg(date.year));
    m_dayGrid->setAccessibleName(QStringLiteral("%1年%2月").arg(date.year).arg(date.month));
}

QList<QWidget*> TChnCalendar::AccessibleParts() const {
    return {m_monthLabel, m_monthSpin, m_yearLabel, m_yearSpin, m_todayLabel, m_dayGrid, m_selectedLabel};
}

CellDescription TChnCalendar::DescribeCell(int column, int row) {
    if (column < 1 || column > 7 || row < 1 || row > kWeekRows) return {};
    const int number = CellNumberOf(column, row);
    const TcnDateInf& cell = m_table.Cells(number);
    if (!cell.Valid) return {};
    if (number > kLastDayCell) return {cell.DayText, false}; // the star sign and the year's names
    const CivilDate date = DecodeDate(m_dateTime);
    // A reader hears the marks the control shows.
    DayFacts facts;
    if (m_style.ShowHolidays && cell.HolidayKind) {
        facts.schedule =
            *cell.HolidayKind == DayKind::Rest ? DayFacts::Schedule::DayOff : DayFacts::Schedule::WorkDay;
        facts.holidayName = cell.HolidayName;
    }
    facts.hasNote = m_style.ShowNoteMarks && cell.HasNote;
    return {DayAccessibleName(date.year, date.month, cell, facts), true};
}

QString TChnCalendar::DescribeColumn(int column) {
    // The long name, however narrow the column.
    return WeekDayCaption(column, INT_MAX, false, m_style.Locale, m_style.MondayFirst);
}

} // namespace quenda
