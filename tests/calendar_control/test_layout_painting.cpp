// Grid sizing, the gradient of the selected cell, fitting and blending the background picture, the
// background buffer and the popup menus, checked numerically.
#include "CalendarCell.h"
#include "CalendarLayout.h"
#include "CalendarMenus.h"
#include "CalendarPainting.h"
#include "TestSupport.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace quenda {
namespace {

using test::ColourAt;

TEST(SpreadGrid, MainWindowSize) {
    const QRect grid = DayGridRect({419, 250}, true);
    EXPECT_EQ(grid, QRect(8, 40, 404, 183));
    const GridSizes sizes = SpreadGrid(grid.width(), grid.height(), kWeekColumnHidden);
    EXPECT_EQ(sizes.rowHeights, (std::array<int, 7>{18, 26, 26, 26, 26, 26, 35}));
    EXPECT_EQ(sizes.columnWidths, (std::array<int, 9>{6, 55, 55, 55, 55, 55, 55, 55, 13}));
}

TEST(SpreadGrid, ConstructedSizeAndHiddenTitle) {
    const QRect grid = DayGridRect({313, 253}, true);
    EXPECT_EQ(grid, QRect(8, 40, 298, 186));
    const GridSizes sizes = SpreadGrid(grid.width(), grid.height(), kWeekColumnHidden);
    EXPECT_EQ(sizes.rowHeights, (std::array<int, 7>{18, 27, 27, 27, 27, 27, 33}));
    EXPECT_EQ(sizes.columnWidths, (std::array<int, 9>{6, 40, 40, 40, 40, 40, 40, 40, 12}));
    EXPECT_EQ(DayGridRect({313, 253}, false), QRect(2, 2, 309, 249));
    // With the week-number column shown the day columns narrow and the remainder takes the rest.
    const GridSizes wide = SpreadGrid(404, 183, kWeekColumnShown);
    EXPECT_EQ(wide.columnWidths[1], 54);
    EXPECT_EQ(wide.columnWidths[8], 404 - 18 - 7 * 54);
}

TEST(SpreadGrid, CellsTileTheGridAndHitTestingFindsThem) {
    const GridSizes sizes = SpreadGrid(404, 183, kWeekColumnHidden);
    EXPECT_EQ(CellRect(sizes, 0, 0), QRect(0, 0, 6, 18));
    EXPECT_EQ(CellRect(sizes, 1, 1), QRect(6, 18, 55, 26));
    EXPECT_EQ(CellRect(sizes, 8, 6), QRect(391, 148, 13, 35));
    EXPECT_EQ(CellAt(sizes, {6, 18}), (GridCell{1, 1}));
    EXPECT_EQ(CellAt(sizes, {5, 17}), (GridCell{0, 0}));
    EXPECT_EQ(CellAt(sizes, {403, 182}), (GridCell{8, 6}));
    EXPECT_FALSE(CellAt(sizes, {404, 10}));
    EXPECT_FALSE(CellAt(sizes, {10, -1}));
}

QImage Filled(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(GradientFill, BandColoursRoundHalvesToEven) {
    QImage image = Filled({1, 256}, qRgb(9, 9, 9));
    QPainter painter(&image);
    // A step of 0.5 per band puts every other band on a half.
    ASSERT_TRUE(GradientFill(painter, image.rect(), 256, 0, RGB(0, 0, 0), RGB(128, 0, 0)));
    painter.end();
    EXPECT_EQ(qRed(image.pixel(0, 0)), 0);     // round(0.5) = 0
    EXPECT_EQ(qRed(image.pixel(0, 1)), 1);     // round(1.0)
    EXPECT_EQ(qRed(image.pixel(0, 2)), 2);     // round(1.5) = 2
    EXPECT_EQ(qRed(image.pixel(0, 4)), 2);     // round(2.5) = 2
    EXPECT_EQ(qRed(image.pixel(0, 6)), 4);     // round(3.5) = 4
    EXPECT_EQ(qRed(image.pixel(0, 255)), 128); // the last band is the end colour
}

TEST(GradientFill, RowsOfACellLowerThanTheBandCount) {
    QImage image = Filled({3, 27}, qRgb(9, 9, 9));
    QPainter painter(&image);
    ASSERT_TRUE(GradientFill(painter, image.rect(), 256, 0, RGB(0, 174, 83), RGB(0, 213, 101)));
    painter.end();
    // Row 0 belongs to band 4 (bands 0..3 are empty), row 26 to band 251 (bands 252..255 are empty).
    EXPECT_EQ(ColourAt(image, 0, 0), RGB(0, 175, 83));
    EXPECT_EQ(ColourAt(image, 2, 0), RGB(0, 175, 83));
    EXPECT_EQ(ColourAt(image, 1, 26), RGB(0, 212, 101));
    for (int y = 1; y < 27; ++y)
        EXPECT_GE(qGreen(image.pixel(0, y)), qGreen(image.pixel(0, y - 1))) << "row " << y;
}

TEST(GradientFill, LeftToRightAndRefusedCounts) {
    QImage image = Filled({4, 2}, qRgb(9, 9, 9));
    QPainter painter(&image);
    EXPECT_FALSE(GradientFill(painter, image.rect(), 0, 0, RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_FALSE(GradientFill(painter, image.rect(), -5, 1, RGB(0, 0, 0), RGB(255, 255, 255)));
    painter.end();
    EXPECT_EQ(ColourAt(image, 0, 0), RGB(9, 9, 9));
    painter.begin(&image);
    ASSERT_TRUE(GradientFill(painter, image.rect(), 4, 1, RGB(0, 0, 0), RGB(100, 0, 0)));
    painter.end();
    EXPECT_EQ(qRed(image.pixel(0, 1)), 25);
    EXPECT_EQ(qRed(image.pixel(1, 0)), 50);
    EXPECT_EQ(qRed(image.pixel(3, 1)), 100);
}

TEST(FitPicture, LandscapePortraitAndOverflow) {
    EXPECT_EQ(FitPicture(400, 200, 419, 250, false), QRect(0, 0, 419, 209));
    EXPECT_EQ(FitPicture(400, 200, 419, 250, true), QRect(0, 20, 419, 209));
    EXPECT_EQ(FitPicture(1000, 600, 419, 250, false), QRect(0, 0, 416, 250)); // too high: fit the height
    EXPECT_EQ(FitPicture(100, 300, 419, 250, true), QRect(168, 0, 83, 250));
    EXPECT_EQ(FitPicture(50, 50, 419, 250, false), QRect(0, 0, 250, 250));
    EXPECT_EQ(FitPicture(10, 300, 2, 250, false), QRect(0, 0, 2, 60)); // too wide: fit the width
    EXPECT_FALSE(FitPicture(0, 10, 419, 250, true));
    EXPECT_FALSE(FitPicture(10, 0, 419, 250, true));
    EXPECT_FALSE(FitPicture(-3, 10, 419, 250, false));
}

TEST(BlendLayer, WeightsKeyColourAndClipping) {
    const QRgb target = qRgb(100, 150, 200);
    const QRgb ink = qRgb(200, 50, 0);
    const QRgb key = qRgb(255, 255, 255);
    QImage layer = Filled({4, 4}, key);
    layer.setPixel(1, 1, ink);
    layer.setPixel(3, 3, ink);

    const auto blended = [&](int weight, QPoint origin, int x, int y) {
        QImage out = Filled({4, 4}, target);
        BlendLayer(out, layer, origin, key, weight);
        return ColourAt(out, x, y);
    };
    EXPECT_EQ(blended(50, {0, 0}, 1, 1), RGB(150, 100, 100));
    EXPECT_EQ(blended(150, {0, 0}, 1, 1), RGB(150, 100, 100)); // weight mod 100
    EXPECT_EQ(blended(100, {0, 0}, 1, 1), RGB(100, 150, 200));
    EXPECT_EQ(blended(0, {0, 0}, 1, 1), RGB(100, 150, 200));
    EXPECT_EQ(blended(99, {0, 0}, 1, 1), RGB(199, 51, 2));
    EXPECT_EQ(blended(50, {0, 0}, 0, 0), RGB(100, 150, 200)); // key pixels let the target through
    EXPECT_EQ(blended(50, {2, 2}, 3, 3), RGB(150, 100, 100)); // layer (1,1) lands on (3,3)
    EXPECT_EQ(blended(50, {2, 2}, 1, 1), RGB(100, 150, 200));
    EXPECT_EQ(blended(50, {-2, -2}, 1, 1), RGB(150, 100, 100)); // layer (3,3) lands on (1,1)
    EXPECT_EQ(blended(50, {9, 9}, 1, 1), RGB(100, 150, 200));   // nothing overlaps
}

BackgroundParams Params(const QImage* picture) {
    BackgroundParams params;
    params.size = {100, 80};
    params.gridRect = QRect(8, 40, 85, 13);
    params.showBackYearMonth = false;
    params.picture = picture;
    return params;
}

TEST(RenderBackground, WhiteGroundFrameAndNoPicture) {
    test::EnsureApplication();
    QImage back;
    QImage layer = Filled({5, 5}, qRgb(1, 2, 3));
    RenderBackground(Params(nullptr), back, layer);
    EXPECT_EQ(back.size(), QSize(100, 80));
    EXPECT_TRUE(layer.isNull());
    EXPECT_EQ(ColourAt(back, 0, 0), 8421504);
    EXPECT_EQ(ColourAt(back, 99, 79), 8421504);
    EXPECT_EQ(ColourAt(back, 1, 1), RGB(255, 255, 255));
    const QImage empty;
    RenderBackground(Params(&empty), back, layer); // a picture without area is skipped
    EXPECT_TRUE(layer.isNull());
}

TEST(RenderBackground, CentredPictureBlendsAndItsMarginIsTheKey) {
    test::EnsureApplication();
    const QImage picture = Filled({20, 10}, qRgb(0, 0, 0));
    BackgroundParams params = Params(&picture);
    params.center = true;
    params.showFrame = false;
    QImage back;
    QImage layer;
    RenderBackground(params, back, layer);
    EXPECT_EQ(layer.size(), QSize(100, 80));
    EXPECT_EQ(ColourAt(back, 50, 40), RGB(127, 127, 127)); // (255 * 50 + 0 * 50) div 100
    EXPECT_EQ(ColourAt(back, 39, 40), RGB(255, 255, 255)); // the picture spans x 40..59
    EXPECT_EQ(ColourAt(back, 40, 35), RGB(127, 127, 127)); // and y 35..44
    EXPECT_EQ(ColourAt(back, 40, 34), RGB(255, 255, 255));

    params.stretch = true; // 2:1 scaled to 100 x 50, centred vertically at y 15..64
    RenderBackground(params, back, layer);
    EXPECT_EQ(ColourAt(back, 0, 15), RGB(127, 127, 127));
    EXPECT_EQ(ColourAt(back, 99, 64), RGB(127, 127, 127));
    EXPECT_EQ(ColourAt(back, 50, 14), RGB(255, 255, 255));
    EXPECT_EQ(ColourAt(back, 50, 65), RGB(255, 255, 255));
}

TEST(RenderBackground, PictureAtTheOriginKeysOnItsOwnTopLeftColour) {
    test::EnsureApplication();
    QImage picture = Filled({100, 80}, qRgb(0, 0, 200));
    picture.setPixel(50, 50, qRgb(0, 0, 0));
    BackgroundParams params = Params(&picture);
    params.alphaBlend = 50;
    QImage back;
    QImage layer;
    RenderBackground(params, back, layer);
    EXPECT_EQ(ColourAt(back, 10, 10), RGB(255, 255, 255)); // the picture's own colour is the key
    EXPECT_EQ(ColourAt(back, 50, 50), RGB(127, 127, 127));
}

// The large numbers are clipped to their rectangles, white box included: the month number (whose box is
// taller than its half of the grid) must not wipe out the bottom of the year above it.
TEST(RenderBackground, MonthNumberStaysInsideItsRectangle) {
    test::EnsureApplication();
    BackgroundParams params;
    params.size = {313, 253};
    params.gridRect = QRect(8, 40, 298, 186); // bottom 226: the month's rectangle starts at y 113
    params.showFrame = false;
    params.year = 2013;
    const auto render = [&](int month) {
        params.month = month;
        QImage back;
        QImage layer;
        RenderBackground(params, back, layer);
        return back;
    };
    const QImage narrow = render(1);
    const QImage wide = render(12);
    EXPECT_TRUE(narrow.copy(0, 0, 313, 113) == wide.copy(0, 0, 313, 113));
    EXPECT_FALSE(narrow.copy(0, 113, 313, 140) == wide.copy(0, 113, 313, 140));
    int yearPixels = 0; // the year's digits reach below the top of the month number's box
    for (int y = 100; y < 113; ++y)
        for (int x = 0; x < 313; ++x)
            yearPixels += ColourAt(narrow, x, y) == params.colorBackYear;
    EXPECT_GT(yearPixels, 0);
}

TEST(HeaderCaption, LongNamesFromThirtySevenPixels) {
    const QLocale locale = CalendarLocale();
    EXPECT_EQ(WeekDayCaption(1, 37, false, locale), "星期日");
    EXPECT_EQ(WeekDayCaption(7, 53, false, locale), "星期六");
    EXPECT_EQ(WeekDayCaption(1, 36, false, locale), "日");
    EXPECT_EQ(WeekDayCaption(4, 36, false, locale), "三");
    EXPECT_EQ(WeekDayCaption(0, 50, true, locale), "W");
    EXPECT_EQ(WeekDayCaption(0, 50, false, locale), "");
    EXPECT_EQ(WeekDayCaption(8, 50, true, locale), "");
}

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

TEST(Menus, MonthMenuItems) {
    test::EnsureApplication();
    QMenu menu;
    BuildMonthMenu(menu, CalendarLocale());
    const QStringList captions = Captions(menu);
    ASSERT_EQ(captions.size(), 14);
    EXPECT_EQ(captions.mid(0, 4), (QStringList{"今日", "-", "一月", "二月"}));
    EXPECT_EQ(captions.at(13), "十二月");
    const auto actions = menu.actions();
    EXPECT_EQ(menu.defaultAction(), actions.at(0));
    EXPECT_TRUE(actions.at(0)->font().bold());
    EXPECT_EQ(actions.at(0)->objectName(), "MenuMonth_ToDay");
    EXPECT_EQ(actions.at(1)->objectName(), "MenuMonth_ToDay_");
    EXPECT_EQ(actions.at(2)->objectName(), "MenuMonth_0");
    EXPECT_EQ(actions.at(13)->objectName(), "MenuMonth_11");
    EXPECT_EQ(actions.at(13)->data().toInt(), 12);
}

TEST(Menus, YearMenuCenturiesAndDecades) {
    test::EnsureApplication();
    QMenu menu;
    BuildYearMenu(menu);
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 24);
    EXPECT_EQ(Captions(menu).mid(0, 5), (QStringList{"今日", "-", "历史日期", "-", "1900"}));
    EXPECT_EQ(actions.at(23)->text(), "2090");
    EXPECT_EQ(actions.at(1)->objectName(), "MenuYear_ToDay_1");
    EXPECT_EQ(actions.at(3)->objectName(), "MenuYear_ToDay_2");
    EXPECT_TRUE(actions.at(0)->font().bold());

    const QMenu* history = actions.at(2)->menu();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->objectName(), "MenuYear_History");
    const auto groups = history->actions();
    ASSERT_EQ(groups.size(), 19);
    EXPECT_EQ(groups.front()->text(), "0");
    EXPECT_EQ(groups.back()->text(), "1800");
    EXPECT_EQ(groups.back()->menu()->objectName(), "MenuYear_History_1810");
    EXPECT_EQ(Captions(*groups.front()->menu()).join(','), "10,20,30,40,50,60,70,80,90,100");
    const auto last = groups.back()->menu()->actions();
    EXPECT_EQ(last.front()->data().toInt(), 1810);
    EXPECT_EQ(last.back()->data().toInt(), 1900);
    EXPECT_EQ(last.back()->objectName(), "MenuYear_History_1900");

    const QMenu* decade = actions.at(23)->menu();
    ASSERT_NE(decade, nullptr);
    EXPECT_EQ(Captions(*decade).join(','), "2090,2091,2092,2093,2094,2095,2096,2097,2098,2099");
    EXPECT_EQ(decade->actions().at(3)->objectName(), "MenuYear_2093");
    EXPECT_EQ(decade->actions().at(3)->data().toInt(), 2093);
}

} // namespace
} // namespace quenda
