#include "CalendarLayout.h"

namespace quenda {

QRect DayGridRect(QSize control, bool showTitle) {
    const int w = control.width();
    const int h = control.height();
    return showTitle ? QRect(8, 40, w - 15, h - 67) : QRect(2, 2, w - 4, h - 4);
}

GridSizes SpreadGrid(int w, int h, int w0) {
    GridSizes sizes;
    const int k = (h - kHeaderHeight) / 6;
    sizes.rowHeights[0] = kHeaderHeight;
    for (int row = 1; row <= 5; ++row)
        sizes.rowHeights[row] = k - 1;
    sizes.rowHeights[6] = h - kHeaderHeight - 5 * (k - 1);

    const int m = (w - w0) / 7;
    sizes.columnWidths[0] = w0;
    for (int column = 1; column <= 7; ++column)
        sizes.columnWidths[column] = m - 1;
    sizes.columnWidths[8] = w - w0 - 7 * (m - 1);
    return sizes;
}

QRect CellRect(const GridSizes& sizes, int column, int row) {
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += sizes.columnWidths[c];
    int top = 0;
    for (int r = 0; r < row; ++r)
        top += sizes.rowHeights[r];
    return QRect(left, top, sizes.columnWidths[column], sizes.rowHeights[row]);
}

std::optional<GridCell> CellAt(const GridSizes& sizes, QPoint point) {
    if (point.x() < 0 || point.y() < 0) return std::nullopt;
    GridCell cell;
    int x = point.x();
    for (cell.column = 0; cell.column < kGridColumns; ++cell.column) {
        if (x < sizes.columnWidths[cell.column]) break;
        x -= sizes.columnWidths[cell.column];
    }
    int y = point.y();
    for (cell.row = 0; cell.row < kGridRows; ++cell.row) {
        if (y < sizes.rowHeights[cell.row]) break;
        y -= sizes.rowHeights[cell.row];
    }
    if (cell.column == kGridColumns || cell.row == kGridRows) return std::nullopt;
    return cell;
}

} // namespace quenda
