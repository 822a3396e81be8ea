#pragma once
// Shared fixtures of the calendar-control tests: the application object, fixed "now", a shown control.

#include "ChnCalendarPicker.h"
#include "QtTestApplication.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << " x " << size.height();
}
inline void PrintTo(const QRect& rect, std::ostream* out) {
    *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << " x " << rect.height();
}

namespace quenda::test {

// The colour of a pixel as 0x00BBGGRR, the way the control stores colours.
TColor ColourAt(const QImage& image, int x, int y);

// A control of the given size, created (menus, date := now) and shown, with now fixed at `now`.
std::unique_ptr<TChnCalendar> MakeCalendar(TDateTime now, QSize size = {419, 250});

// The control's grid as it is on screen.
QImage GridImage(const TChnCalendar& calendar);

// Records the control's notifications in the order they come.
struct EventLog {
    std::vector<std::string> events;
    void Attach(TChnCalendar& calendar);
};

} // namespace quenda::test
