#pragma once
// Drawing one cell of the day grid: the week-day header, the week-number column, the day number and the
// lunar line with the selection highlight, and the three title cells.

#include "CalendarDayTable.h"
#include "CalendarLook.h"

#include <QFont>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <functional>

namespace quenda {

class TChnCalendar;

// Raised before a day number or a lunar line is drawn; the handler may change the text or set defaultDraw
// to false to draw the cell itself on aCanvas (origin at the cell's top-left corner, R the whole cell).
using TDrawDateCellEvent =
    std::function<void(TChnCalendar* Sender, int Day, QPainter& aCanvas, const QRect& R, bool Selected,
                       QString& Text, bool& defaultDraw)>;

// What the grid's cells are drawn with, other than the day table.
struct CellStyle {
    bool ShowWeekNum = false;
    bool ShowWeekNumLine = true;
    bool HideSelection = false;
    bool ShowHolidays = true;  // the 休 and 班 marks
    bool ShowNoteMarks = true; // the mark of a day whose note holds text
    bool MondayFirst = false;  // columns 1..7 are Monday..Sunday
    QFont Font;                // the control's font: the week-day header
    QFont FontDate;
    QFont FontCnDate;
    QFont TitleFont; // week numbers and title cells: 宋体 9 pt
    TColor ColorTitleWeekLine = RGB(197, 197, 197);
    TColor ColorTitleWeekEnd = RGB(255, 0, 0);
    TColor ColorTitleWeek = RGB(79, 79, 79);
    TColor ColorSelectedStart = RGB(0, 174, 83);
    TColor ColorSelectedEnd = RGB(0, 213, 101);
    TColor ColorSelectedFrame = RGB(0, 147, 70);
    TColor ColorWeekNum = RGB(128, 128, 128);
    TColor ColorTitleConstellation = 0;
    TColor ColorTitleAnimalsYear = 0;
    QLocale Locale;
};

struct CellRequest {
    int column = 0;
    int row = 0;
    QRect rect;            // in grid coordinates
    bool selected = false; // the grid's selected cell
    bool gridFocused = false;
};

struct CellContext {
    const CellStyle& style;
    const TDayTable& table;
    const QImage& backBuffer;
    QPoint gridOrigin; // the grid's top-left corner in control coordinates
    TChnCalendar* sender = nullptr;
    const TDrawDateCellEvent* onDrawDateCell = nullptr;
    const TDrawDateCellEvent* onDrawCnDateCell = nullptr;
};

// Composes the cell in cellBitmap (resized to the cell): its piece of the background buffer, then its texts.
void PaintCell(const CellContext& context, const CellRequest& request, QImage& cellBitmap);

// The header text of a column: long week-day names when the text rectangle is wider than 36 pixels.
QString WeekDayCaption(int column, int textWidth, bool showWeekNum, const QLocale& locale,
                       bool mondayFirst = false);

} // namespace quenda
