// The marks of TChnCalendar: the statutory rest and work days, the days whose note holds text, the week's
// first day, and the options menu that switches them.
#include "ChnCalendarPicker.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace quenda {

namespace {

QAction* AddSwitch(QMenu& menu, const char* caption, const char* name, bool checked) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void Check(const QMenu& menu, const char* name, bool checked) {
    if (auto* action = menu.findChild<QAction*>(QString::fromLatin1(name))) action->setChecked(checked);
}

} // namespace

void TChnCalendar::CreateOptionsMenu() {
    m_optionsMenu = new QMenu(this);
    m_optionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    const auto connectSwitch = [this](QAction* action, void (TChnCalendar::*setter)(bool)) {
        connect(action, &QAction::triggered, this, [this, setter](bool checked) {
            (this->*setter)(checked);
            emit optionsChanged();
        });
    };
    connectSwitch(AddSwitch(*m_optionsMenu, "显示节假日", "MenuShowHolidays", m_style.ShowHolidays),
                  &TChnCalendar::SetShowHolidays);
    connectSwitch(AddSwitch(*m_optionsMenu, "显示记事标记", "MenuShowNoteMarks", m_style.ShowNoteMarks),
                  &TChnCalendar::SetShowNoteMarks);
    connectSwitch(AddSwitch(*m_optionsMenu, "每周从星期一开始", "MenuMondayFirst", m_style.MondayFirst),
                  &TChnCalendar::SetMondayFirst);
}

void TChnCalendar::contextMenuEvent(QContextMenuEvent* event) {
    m_optionsMenu->popup(event->globalPos());
}

void TChnCalendar::SetHolidays(std::shared_ptr<const HolidayTable> holidays) {
    m_holidays = std::move(holidays);
    UpdateFooter();
    const CivilDate date = DecodeDate(m_dateTime);
    if (m_monthFilled) FillDays(date.year, date.month, date.day);
}

void TChnCalendar::SetNoteDaysProvider(NoteDaysProvider provider) {
    m_noteDaysProvider = std::move(provider);
    m_noteDaysMonth = 0;
    m_noteDays.clear();
    if (!m_monthFilled) return;
    const CivilDate date = DecodeDate(m_dateTime);
    MarkNoteDays(date.year, date.month);
    RefreshGrid();
}

// One query for the month, kept until another month is shown; the host reports changes in between.
void TChnCalendar::MarkNoteDays(int year, int month) {
    const int shown = year * 12 + month;
    if (m_style.ShowNoteMarks && m_noteDaysProvider && shown != m_noteDaysMonth) {
        const QDate first(year, month, 1);
        const auto days = m_noteDaysProvider(first, first.addDays(first.daysInMonth() - 1));
        // A failed query marks nothing and is asked again at the next date change.
        m_noteDays = days.value_or(QSet<QDate>());
        m_noteDaysMonth = days ? shown : 0;
    }
    for (int n = 1; n <= kLastDayCell; ++n) {
        TcnDateInf& cell = m_table.Cells(n);
        cell.HasNote =
            cell.Valid && shown == m_noteDaysMonth && m_noteDays.contains(QDate(year, month, cell.Day));
    }
}

void TChnCalendar::SetDayHasNote(QDate day, bool hasNote) {
    if (day.year() * 12 + day.month() == m_noteDaysMonth) {
        if (hasNote)
            m_noteDays.insert(day);
        else
            m_noteDays.remove(day);
    }
    const int n = ShownCellOf(day);
    if (n == 0 || m_table.Cells(n).HasNote == hasNote) return;
    m_table.Cells(n).HasNote = hasNote;
    const CellPos pos = CellPosOf(n);
    if (m_style.ShowNoteMarks) m_dayGrid->RefreshCell(pos.column, pos.row);
}

int TChnCalendar::ShownCellOf(QDate day) const {
    const CivilDate shown = DecodeDate(m_dateTime);
    if (!m_monthFilled || day.year() != shown.year || day.month() != shown.month) return 0;
    for (int n = 1; n <= kLastDayCell; ++n)
        if (m_table.Cells(n).Valid && m_table.Cells(n).Day == day.day()) return n;
    return 0;
}

void TChnCalendar::SetShowHolidays(bool value) {
    m_style.ShowHolidays = value;
    Check(*m_optionsMenu, "MenuShowHolidays", value);
    UpdateFooter();
    RefreshGrid();
}

void TChnCalendar::SetShowNoteMarks(bool value) {
    m_style.ShowNoteMarks = value;
    Check(*m_optionsMenu, "MenuShowNoteMarks", value);
    const CivilDate date = DecodeDate(m_dateTime);
    if (value && m_monthFilled) MarkNoteDays(date.year, date.month);
    RefreshGrid();
}

// The days move to other columns; the date stays, so the host hears of no change.
void TChnCalendar::SetMondayFirst(bool value) {
    if (value == m_style.MondayFirst) return;
    m_style.MondayFirst = value;
    Check(*m_optionsMenu, "MenuMondayFirst", value);
    const CivilDate date = DecodeDate(m_dateTime);
    if (m_monthFilled) FillDays(date.year, date.month, date.day);
}

void TChnCalendar::UpdateFooter() {
    QString text = m_footerDate;
    const CivilDate date = DecodeDate(m_dateTime);
    const HolidayDay* holiday =
        m_style.ShowHolidays && m_holidays ? m_holidays->Find(date.year, date.month, date.day) : nullptr;
    if (holiday != nullptr) text += QLatin1Char(' ') + HolidayMarkText(*holiday);
    m_selectedLabel->setText(text);
    m_selectedLabel->adjustSize();
}

DayMarks TChnCalendar::MarksOf(QDate day) const {
    const int n = ShownCellOf(day);
    if (n == 0) return {};
    const TcnDateInf& cell = m_table.Cells(n);
    return {m_style.ShowHolidays ? HolidayMarkText(cell) : QString(), m_style.ShowNoteMarks && cell.HasNote};
}

} // namespace quenda
