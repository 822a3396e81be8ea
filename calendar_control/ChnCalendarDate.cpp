// The date routine of TChnCalendar and the ways the user moves the date: spin buttons, menus, "今天" and
// the selection rule of the day grid.
#include "ChnCalendarPicker.h"

#include "Clock.h"

#include <QMenu>

#include <cmath>

namespace quenda {

namespace {

// Days of the control's year range 1..2100, as whole parts of date-time values; NaN and infinities are out.
bool InYearRange(TDateTime value) {
    static const double first = EncodeDate(1, 1, 1);
    static const double last = EncodeDate(2100, 12, 31);
    if (!std::isfinite(value)) return false;
    const double day = std::trunc(value);
    return day >= first && day <= last;
}

} // namespace

void TChnCalendar::SetDateTime(TDateTime value) {
    if (value == m_dateTime) return;
    ApplyDate(value);
}

void TChnCalendar::ApplyDate(TDateTime value) {
    if (!InYearRange(value)) return;
    const CivilDate date = DecodeDate(value);
    if (date.year < 1 || date.year > 2100) return;
    m_dateTime = value;
    m_yearSpin->SetPosition(date.year);
    m_monthSpin->SetPosition(date.month);
    m_dateInfo.Fill(value);
    m_cnMonth = QString::fromStdString(m_dateInfo.LunarMonthText);
    m_cnDay = QString::fromStdString(m_dateInfo.LunarDayText);
    m_cnDate = m_cnMonth + m_cnDay;
    m_yearLabel->setText(QString::number(date.year));
    m_yearLabel->adjustSize();
    m_monthLabel->setText(QString::number(date.month));
    PlaceMonthLabel();
    m_footerDate =
        SelectedText(date.year, date.month, date.day, QString::fromStdString(m_dateInfo.EraText), m_cnDate);
    UpdateFooter();
    NameDateParts(date);
    if (FillDays(date.year, date.month, date.day)) RaiseChange();
}

// Steps that may fail without undoing what is already shown: the rest of the routine is then skipped.
bool TChnCalendar::FillDays(int year, int month, int day) {
    try {
        const auto moveSelection = [this](int cell) {
            const CellPos pos = CellPosOf(cell);
            m_syncingSelection = true;
            m_dayGrid->ProposeCell(pos.column, pos.row);
            m_syncingSelection = false;
        };
        FillMonth(m_table, m_dateInfo, year, month, day, m_colours, moveSelection,
                  {m_style.MondayFirst, m_holidays.get()});
        m_monthFilled = true;
        MarkNoteDays(year, month);
        RenderBackground();
        m_dayGrid->RefreshAll();
        return true;
    } catch (...) {
        m_syncingSelection = false;
        return false;
    }
}

void TChnCalendar::RaiseChange() {
    if (!OnChange) return;
    try {
        OnChange(this);
    } catch (...) {
        // The host's failure ends here, as any failure of the routine's last steps does.
    }
}

void TChnCalendar::StepMonth() {
    const CivilDate date = DecodeDate(m_dateTime);
    int year = date.year;
    if (m_monthSpin->Position() == 13) {
        m_yearSpin->SetPosition(++year);
        m_monthSpin->SetPosition(1);
    } else if (m_monthSpin->Position() == 0) {
        m_yearSpin->SetPosition(--year);
        m_monthSpin->SetPosition(12);
    }
    const int month = m_monthSpin->Position();
    int day = date.day;
    // Year 0 has no valid day, and 2101 is refused by the date routine: the date stays.
    while (year >= 1 && day > 0 && !IsValidGregorianDate(year, month, day))
        --day;
    if (year >= 1 && day > 0) SetDateTime(EncodeDate(year, month, day));
    SyncSpinsToDate();
}

void TChnCalendar::StepYear() {
    const CivilDate date = DecodeDate(m_dateTime);
    const int year = m_yearSpin->Position();
    int day = date.day;
    while (day > 0 && !IsValidGregorianDate(year, date.month, day))
        --day;
    SetDateTime(day > 0 ? EncodeDate(year, date.month, day) : Clock::Now());
    SyncSpinsToDate();
}

// After a refused step the spins would rest on 13, 0 or the clamped year and the next arrow would step
// from there instead of from the date shown.
void TChnCalendar::SyncSpinsToDate() {
    const CivilDate date = DecodeDate(m_dateTime);
    m_yearSpin->SetPosition(date.year);
    m_monthSpin->SetPosition(date.month);
}

void TChnCalendar::GoToday() {
    SetDateTime(Clock::Now());
}

void TChnCalendar::ChooseMonth(int month) {
    m_monthSpin->SetPosition(month);
    StepMonth();
}

void TChnCalendar::ChooseYear(int year) {
    m_yearSpin->SetPosition(year);
    StepYear();
}

void TChnCalendar::OpenMenu(QMenu& menu, QPoint globalPos) {
    FillMenus();
    menu.popup(globalPos);
}

bool TChnCalendar::CanSelectCell(int column, int row) {
    if (m_syncingSelection) return true;
    if (column == 0 || column == 8 || row == 0) return false;
    const int n = CellNumberOf(column, row);
    if (n < 1 || n > kLastDayCell || !m_table.Cells(n).Valid) return false;
    try {
        const CivilDate date = DecodeDate(m_dateTime);
        SetDateTime(EncodeDate(date.year, date.month, m_table.Cells(n).Day));
        if (OnDateClick && m_mousePressed) OnDateClick(this);
    } catch (...) {
        // The date routine has already put the selection on the fallback date; accepting the pressed
        // cell would highlight a day that is not the control's date.
        SetDateTime(Clock::Now());
        return false;
    }
    return true;
}

void TChnCalendar::GridClicked() {
    if (!OnDateSelect) return;
    try {
        OnDateSelect(this);
    } catch (...) {
        // A failing handler must not unwind through the event loop.
    }
}

bool TChnCalendar::GridMenuRequested(QPoint globalPos) {
    if (m_showTitle) return false;
    OpenMenu(*m_yearMenu, globalPos);
    return true;
}

} // namespace quenda
