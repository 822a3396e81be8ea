#include "CalendarCell.h"

#include "CalendarMarks.h"
#include "CalendarPainting.h"

namespace quenda {

namespace {

constexpr int kLongNameMinWidth = 37;

void PaintHeader(const CellStyle& style, QPainter& painter, int column, int cw, int ch) {
    const QRect textRect(0, 0, cw - 2, ch);
    const QString text =
        WeekDayCaption(column, textRect.width(), style.ShowWeekNum, style.Locale, style.MondayFirst);
    TColor colour = style.ColorTitleWeek;
    if (column == 0) colour = style.ColorWeekNum;
    if (IsWeekendColumn(column, style.MondayFirst)) colour = style.ColorTitleWeekEnd;
    painter.setFont(style.Font);
    painter.setPen(ToQColor(colour));
    DrawLine(painter, textRect, text, Qt::AlignTop | Qt::AlignHCenter);
    // Lines are filled one logical pixel wide: a stroked line misses its last device pixel at 2x.
    const QColor line = ToQColor(style.ColorTitleWeekLine);
    painter.fillRect(QRect(0, ch - 4, cw, 1), line);
    if (style.ShowWeekNum && style.ShowWeekNumLine && column == 0)
        painter.fillRect(QRect(cw - 1, 0, 1, ch), line);
}

void PaintWeekNumber(const CellContext& context, QPainter& painter, int row, int cw, int ch) {
    const CellStyle& style = context.style;
    const QString& week = context.table.WeekNumbers(row);
    if (!style.ShowWeekNum || week.isEmpty()) return;
    painter.setFont(style.TitleFont);
    painter.setPen(ToQColor(style.ColorWeekNum));
    DrawLine(painter, QRect(0, 0, cw, ch), week, Qt::AlignCenter);
    if (!style.ShowWeekNumLine) return;
    painter.fillRect(QRect(cw - 1, 0, 1, ch), ToQColor(style.ColorTitleWeekLine));
}

void PaintTitleCell(const CellStyle& style, QPainter& painter, int n, const QString& text, int cw, int ch) {
    if (text.isEmpty()) return;
    Qt::Alignment alignment = Qt::AlignHCenter;
    TColor colour = style.ColorTitleAnimalsYear;
    if (n == kConstellationCell) colour = style.ColorTitleConstellation;
    if (n == kStemBranchCell) alignment = Qt::AlignRight;
    if (n == kAnimalYearCell) alignment = Qt::AlignLeft;
    painter.setFont(style.TitleFont);
    painter.setPen(ToQColor(colour));
    DrawLine(painter, QRect(0, 8, cw, ch - 8), text, Qt::AlignTop | alignment);
}

// Offers a text to a draw event; true when the control should still draw it.
bool OfferText(const CellContext& context, const TDrawDateCellEvent* event, QPainter& painter, int day,
               const QRect& cell, bool selected, QString& text) {
    bool defaultDraw = true;
    if (event != nullptr && *event) (*event)(context.sender, day, painter, cell, selected, text, defaultDraw);
    return defaultDraw;
}

void PaintDay(const CellContext& context, const CellRequest& request, QPainter& painter, int cw, int ch) {
    const CellStyle& style = context.style;
    const bool highlighted = request.selected && (!style.HideSelection || request.gridFocused);
    const QRect cell(0, 0, cw, ch);
    if (highlighted) GradientFill(painter, cell, 256, 0, style.ColorSelectedStart, style.ColorSelectedEnd);
    const int n = CellNumberOf(request.column, request.row);
    const TcnDateInf& info = context.table.Cells(n);
    if (!info.Valid) return;
    if (n >= kConstellationCell) return PaintTitleCell(style, painter, n, info.DayText, cw, ch);

    QString text = info.DayText;
    painter.setFont(style.FontDate);
    painter.setPen(ToQColor(info.DayColor));
    const bool badge = style.ShowHolidays && info.HolidayKind;
    if (OfferText(context, context.onDrawDateCell, painter, info.Day, cell, request.selected, text))
        DrawLine(painter, DayNumberRect(cell, style.FontDate, text, badge), text,
                 Qt::AlignBottom | Qt::AlignHCenter);
    if (style.ShowNoteMarks && info.HasNote)
        PaintNoteMark(painter, NoteMarkRect(cell, style.FontDate, info.DayText, badge));
    if (badge) PaintHolidayMark(painter, cell, *info.HolidayKind);

    text = info.LunarText;
    painter.setFont(style.FontCnDate);
    painter.setPen(ToQColor(info.LunarColor));
    if (!OfferText(context, context.onDrawCnDateCell, painter, info.Day, cell, request.selected, text))
        return;
    DrawLine(painter, QRect(2, ch / 2, cw - 4, ch - ch / 2), text, Qt::AlignTop | Qt::AlignHCenter);
    if (!highlighted) return;
    DrawFrame(painter, cell, ToQColor(style.ColorSelectedFrame));
}

} // namespace

QString WeekDayCaption(int column, int textWidth, bool showWeekNum, const QLocale& locale, bool mondayFirst) {
    if (column == 0) return showWeekNum ? QStringLiteral("W") : QString();
    if (column < 1 || column > 7) return {};
    // clang-format off
    static const QString kShort[7] = {"日", "一", "二", "三", "四", "五", "六"};
    // clang-format on
    const int weekday = mondayFirst ? column % 7 + 1 : column; // 1 = Sunday ... 7 = Saturday
    if (textWidth < kLongNameMinWidth) return kShort[weekday - 1];
    const int qtDay = weekday == 1 ? 7 : weekday - 1; // Qt counts Monday 1 ... Sunday 7
    return locale.dayName(qtDay, QLocale::LongFormat);
}

void PaintCell(const CellContext& context, const CellRequest& request, QImage& cellBitmap) {
    const int cw = request.rect.width();
    const int ch = request.rect.height();
    if (cw <= 0 || ch <= 0) return;
    // The cell is drawn at the background's pixel ratio: its texts in device pixels, sharp on scaled screens.
    const qreal ratio = context.backBuffer.devicePixelRatio();
    if (!BufferFits(cellBitmap, request.rect.size(), ratio))
        cellBitmap = MakeBuffer(request.rect.size(), ratio);
    QPainter painter(&cellBitmap);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    DrawBufferPart(painter, QPoint(0, 0), context.backBuffer, request.rect.translated(context.gridOrigin));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(Qt::NoBrush);
    if (request.row == 0) return PaintHeader(context.style, painter, request.column, cw, ch);
    if (request.column == 0) return PaintWeekNumber(context, painter, request.row, cw, ch);
    if (request.column == 8) return;
    PaintDay(context, request, painter, cw, ch);
}

} // namespace quenda
