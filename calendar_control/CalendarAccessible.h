#pragma once
// The month calendar as screen readers see it: the control is a group of the month and year buttons with
// their spin buttons, "今天", the table of days and the footer; the day grid is a table of 6 weeks by 7
// days whose cells are named after their days, and its focus follows the selected day.

namespace quenda {

class TDayGrid;

// Installs the descriptions, once; the control's constructor calls it.
void InstallCalendarAccessibility();

// The grid tells screen readers that the selected day, where the keyboard focus is, has moved ...
void NotifyDayFocus(TDayGrid& grid);
// ... and that the names of its days may have changed.
void NotifyDayNames(TDayGrid& grid);

} // namespace quenda
