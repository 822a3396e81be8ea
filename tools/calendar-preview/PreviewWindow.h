#pragma once
// The window of calendar-preview: the month calendar at the place and size the main window gives it, on a
// white ground.

#include "ChnCalendarPicker.h"

#include <QWidget>

namespace quenda {

class TPreviewWindow : public QWidget {
    Q_OBJECT
public:
    TPreviewWindow();
    TChnCalendar& Calendar() const { return *m_calendar; }

private:
    TChnCalendar* m_calendar;
};

} // namespace quenda
