#pragma once
// The small marks of a day cell: the statutory rest (休, on green) or work (班, on red) badge in the top
// right corner, and the blue dot left of the day number of a day whose note holds text (the cells have no
// borders, so a mark in a corner would seem to belong to the row above). Both are drawn in logical pixels
// on a buffer of the screen's ratio, so they stay sharp on a scaled screen.

#include "HolidayTable.h"

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

namespace quenda {

// The badge's square in cell coordinates: 12 pixels, smaller in a low cell, one pixel in from the corner.
QRect HolidayMarkRect(const QRect& cell);
// Where the day number (`dayText` in `dayFont`) is drawn: centred at the bottom of the cell's upper half,
// or, where a badge would cover it (a narrow cell), centred in the room left of the badge.
QRect DayNumberRect(const QRect& cell, const QFont& dayFont, const QString& dayText, bool badge);
// The dot's square: left of the day number, on the height of its middle.
QRect NoteMarkRect(const QRect& cell, const QFont& dayFont, const QString& dayText, bool badge);

void PaintHolidayMark(QPainter& painter, const QRect& cell, DayKind kind);
void PaintNoteMark(QPainter& painter, const QRect& dot);

} // namespace quenda
