// The control on a screen with a device pixel ratio of 2: every buffer is drawn at the ratio, so text is as
// sharp as a label's, and moving the window between screens redraws the buffers. The offscreen platform is
// given two screens, the second scaled, before the application starts.
#include "CalendarLayout.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

namespace quenda {
namespace {

const bool kTwoScreens = qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUENDA_TEST_DATA_DIR
                                                    "/screens/offscreen-two-screens.json");

const TDateTime kNow = EncodeDate(2013, 1, 3) + 0.38143699074;

bool IsInk(QRgb p) {
    return qGray(p) < 200;
}

// Of the aligned 2 x 2 pixel blocks that hold ink, the share whose four pixels are not all alike. A picture
// drawn at 1x and doubled has none; text drawn at 2x has many.
double FineDetail(const QImage& image, const QRect& rect) {
    int inked = 0;
    int detailed = 0;
    for (int y = rect.top() & ~1; y + 1 <= rect.bottom(); y += 2)
        for (int x = rect.left() & ~1; x + 1 <= rect.right(); x += 2) {
            const QRgb block[4] = {image.pixel(x, y), image.pixel(x + 1, y), image.pixel(x, y + 1),
                                   image.pixel(x + 1, y + 1)};
            if (!IsInk(block[0]) && !IsInk(block[1]) && !IsInk(block[2]) && !IsInk(block[3])) continue;
            ++inked;
            detailed += !(block[0] == block[1] && block[0] == block[2] && block[0] == block[3]);
        }
    return inked == 0 ? 0 : double(detailed) / inked;
}

QRect Scaled(const QRect& rect, int factor) {
    return {rect.topLeft() * factor, rect.size() * factor};
}

void MoveTo(TChnCalendar& calendar, int screen) {
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    calendar.windowHandle()->setScreen(QGuiApplication::screens().at(screen));
    QApplication::processEvents();
}

TEST(ScaledScreen, BuffersFollowTheScreensPixelRatioAndTextIsSharp) {
    ASSERT_TRUE(kTwoScreens);
    const auto calendar = test::MakeCalendar(kNow);
    MoveTo(*calendar, 0);
    EXPECT_EQ(calendar->DayGrid().Buffer().devicePixelRatio(), 1.0);
    EXPECT_EQ(calendar->DayGrid().Buffer().size(), QSize(404, 183));

    MoveTo(*calendar, 1);
    ASSERT_EQ(calendar->devicePixelRatioF(), 2.0);
    EXPECT_EQ(calendar->BackBuffer().size(), QSize(838, 500));
    EXPECT_EQ(calendar->BackBuffer().devicePixelRatio(), 2.0);
    EXPECT_EQ(calendar->DayGrid().Buffer().size(), QSize(808, 366));
    EXPECT_EQ(calendar->DayGrid().Buffer().devicePixelRatio(), 2.0);
    // The layout stays in logical pixels.
    EXPECT_EQ(calendar->DayGrid().geometry(), QRect(8, 40, 404, 183));
    EXPECT_EQ(calendar->DayGrid().Sizes().columnWidths[1], 55);

    const QImage grid = test::GridImage(*calendar);
    ASSERT_EQ(grid.size(), QSize(808, 366));
    const GridSizes& sizes = calendar->DayGrid().Sizes();
    QRect days; // the week of the 6th to the 12th: day numbers and lunar lines
    for (int column = 1; column <= 7; ++column)
        days |= Scaled(CellRect(sizes, column, 2), 2);
    auto* footer = calendar->findChild<QLabel*>("SelectedLabel");
    const QImage label = footer->grab().toImage();
    const double labelDetail = FineDetail(label, label.rect());
    EXPECT_GT(labelDetail, 0.3);
    EXPECT_GT(FineDetail(grid, days), 0.75 * labelDetail);
    const QRect header = Scaled(CellRect(sizes, 2, 0), 2).adjusted(0, 0, 0, -10);
    EXPECT_GT(FineDetail(grid, header), 0.75 * labelDetail);

    // One-pixel lines cover whole logical pixels: the selected cell's frame reaches its last device
    // column, and the header line runs unbroken across the grid.
    const QRect selected = Scaled(CellRect(sizes, 5, 1), 2);
    EXPECT_EQ(test::ColourAt(grid, selected.right(), selected.center().y()), RGB(0, 147, 70));
    EXPECT_EQ(test::ColourAt(grid, selected.center().x(), selected.bottom()), RGB(0, 147, 70));
    const int headerLine = (sizes.rowHeights[0] - 4) * 2;
    for (int y : {headerLine, headerLine + 1})
        for (int x = 0; x < grid.width(); ++x)
            ASSERT_EQ(test::ColourAt(grid, x, y), RGB(197, 197, 197)) << x << ", " << y;

    MoveTo(*calendar, 0);
    EXPECT_EQ(calendar->DayGrid().Buffer().devicePixelRatio(), 1.0);
    EXPECT_EQ(calendar->BackBuffer().size(), QSize(419, 250));
}

} // namespace
} // namespace quenda
