// Setters of TChnCalendar's published properties. Each stores its value and repaints no more than shows
// it: the background buffer, the grid's cells, or the whole day table when a day colour changes.
#include "ChnCalendarPicker.h"

namespace quenda {

void TChnCalendar::SetShowWeekNum(bool value) {
    if (value == m_style.ShowWeekNum) return;
    m_style.ShowWeekNum = value;
    // Only column 0 changes; the other columns are spread again at the next layout pass.
    m_dayGrid->SetColumnZeroWidth(value ? kWeekColumnShown : kWeekColumnHidden);
    RefreshGrid();
}

void TChnCalendar::SetShowFrame(bool value) {
    m_showFrame = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetShowBackYearMonth(bool value) {
    m_showBackYearMonth = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetShowWeekNumLine(bool value) {
    m_style.ShowWeekNumLine = value;
    RefreshGrid();
}

void TChnCalendar::SetFontDate(const QFont& font) {
    m_style.FontDate = font;
    RefreshGrid();
}

void TChnCalendar::SetFontCnDate(const QFont& font) {
    m_style.FontCnDate = font;
    RefreshGrid();
}

void TChnCalendar::SetColorTitleWeekLine(TColor value) {
    m_style.ColorTitleWeekLine = value;
    RefreshGrid();
}

void TChnCalendar::SetColorTitleWeekEnd(TColor value) {
    m_style.ColorTitleWeekEnd = value;
    RefreshGrid();
}

void TChnCalendar::SetColorTitleWeek(TColor value) {
    m_style.ColorTitleWeek = value;
    RefreshGrid();
}

// The day colours live in the day table, so the current date is applied again (even though it is unchanged).
void TChnCalendar::SetColorCnDate(TColor value) {
    m_colours.ColorCnDate = value;
    ApplyDate(m_dateTime);
}

void TChnCalendar::SetColorDate(TColor value) {
    m_colours.ColorDate = value;
    ApplyDate(m_dateTime);
}

void TChnCalendar::SetColorHoliday(TColor value) {
    m_colours.ColorHoliday = value;
    ApplyDate(m_dateTime);
}

void TChnCalendar::SetColorLunarHolDay(TColor value) {
    m_colours.ColorLunarHolDay = value;
    ApplyDate(m_dateTime);
}

void TChnCalendar::SetColorCnHolDay(TColor value) {
    m_colours.ColorCnHolDay = value;
    ApplyDate(m_dateTime);
}

void TChnCalendar::SetColorSelectedStart(TColor value) {
    m_style.ColorSelectedStart = value;
    RefreshGrid();
}

void TChnCalendar::SetColorSelectedEnd(TColor value) {
    m_style.ColorSelectedEnd = value;
    RefreshGrid();
}

void TChnCalendar::SetColorSelectedFrame(TColor value) {
    m_style.ColorSelectedFrame = value;
    RefreshGrid();
}

void TChnCalendar::SetColorWeekNum(TColor value) {
    m_style.ColorWeekNum = value;
    if (m_style.ShowWeekNum) RefreshGrid();
}

void TChnCalendar::SetColorShowFrame(TColor value) {
    m_colorShowFrame = value;
    if (m_showFrame) RenderAndInvalidate();
}

void TChnCalendar::SetColorBackYear(TColor value) {
    m_colorBackYear = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetColorBackMonth(TColor value) {
    m_colorBackMonth = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetColorTitleToday(TColor value) {
    m_colorTitleToday = value;
    ApplyLabelColour(*m_todayLabel, value);
}

void TChnCalendar::SetColorTitleMonth(TColor value) {
    m_colorTitleMonth = value;
    ApplyLabelColour(*m_monthLabel, value);
}

void TChnCalendar::SetColorTitleYear(TColor value) {
    m_colorTitleYear = value;
    ApplyLabelColour(*m_yearLabel, value);
}

void TChnCalendar::SetColorTitleSelected(TColor value) {
    m_colorTitleSelected = value;
    ApplyLabelColour(*m_selectedLabel, value);
}

void TChnCalendar::SetBackGround(const QImage& picture) {
    m_backGround = picture;
    RenderAndInvalidate();
}

void TChnCalendar::SetCenter(bool value) {
    m_center = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetStretch(bool value) {
    m_stretch = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetTransparent(bool value) {
    m_transparent = value;
    RenderAndInvalidate();
}

void TChnCalendar::SetAlphaBlend(std::uint8_t value) {
    m_alphaBlend = value;
    RenderAndInvalidate();
}

} // namespace quenda
