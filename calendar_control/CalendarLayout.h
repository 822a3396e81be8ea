#pragma once
// Where the parts of the month calendar sit: the child geometry of the title strip and footer, the day
// grid's rectangle and the sizes of its rows and columns.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <optional>

namespace quenda {

inline constexpr int kGridColumns = 9; // week number, Sunday..Saturday, remainder
inline constexpr int kGridRows = 7;    // week-day header, six weeks
inline constexpr int kHeaderHeight = 18;
inline constexpr int kWeekColumnShown = 18;
inline constexpr int kWeekColumnHidden = 6;

// clang-format off
// Fixed positions of the title strip and the footer, in control pixels.
inline constexpr int kMonthLabelRight = 34;     // plus the width of one blank in the label's font
inline constexpr int kMonthLabelTop = 3;
inline constexpr QPoint kMonthUnitLabelPos{45, 20};
inline constexpr QPoint kMonthSpinPos{60, 10};
inline constexpr QPoint kYearLabelPos{120, 0};
inline constexpr QPoint kYearUnitLabelPos{205, 18};
inline constexpr QPoint kYearSpinPos{220, 10};
inline constexpr QPoint kTodayLabelPos{272, 18};
inline constexpr QPoint kSelectedLabelPos{10, 236};
inline constexpr QSize kSpinSize{16, 24};       // the platform's default up-down size
inline constexpr QSize kConstructedSize{313, 253};
// clang-format on

// The day grid in control coordinates: below the title strip while the title shows, else almost all of it.
QRect DayGridRect(QSize control, bool showTitle);

// Row heights (rows 0..6) and column widths (columns 0..8) of the day grid.
struct GridSizes {
    std::array<int, kGridRows> rowHeights{};
    std::array<int, kGridColumns> columnWidths{};
    friend bool operator==(const GridSizes&, const GridSizes&) = default;
};

// Spreads the rows 1..6 and the columns 1..8 over a grid of w x h pixels whose column 0 is w0 wide. The
// last row and the last column take the remainder so the cells fill the grid exactly.
GridSizes SpreadGrid(int w, int h, int w0);

// The cell's rectangle in grid coordinates; cells sit edge to edge from the top-left corner.
QRect CellRect(const GridSizes& sizes, int column, int row);

// The cell under a point in grid coordinates, or nothing outside the cells.
struct GridCell {
    int column = 0;
    int row = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};
std::optional<GridCell> CellAt(const GridSizes& sizes, QPoint point);

} // namespace quenda
