// The control as it is drawn: properties after creation, the date routine's effects, and pixel checks of
// the grid (selection gradient and frame, red weekend numbers, week-day names, draw events).
#include "CalendarLayout.h"
#include "CalendarPainting.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <cmath>

namespace quenda {
namespace {

using test::ColourAt;
using test::EventLog;
using test::GridImage;
using test::MakeCalendar;

const TDateTime kNow = EncodeDate(2013, 1, 3) + 0.38143699074; // a Thursday, lunar 冬月廿二

bool IsRed(QRgb p) {
    return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
}
bool IsDark(QRgb p) {
    return qRed(p) < 170 && qGreen(p) < 170 && qBlue(p) < 170;
}
bool IsGreyInk(QRgb p) {
    return qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) < 215;
}

int Count(const QImage& image, const QRect& rect, bool (*test)(QRgb)) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// Width of the span of columns holding dark pixels.
int InkWidth(const QImage& image, const QRect& rect) {
    int first = -1;
    int last = -1;
    for (int x = rect.left(); x <= rect.right(); ++x)
        if (Count(image, QRect(x, rect.top(), 1, rect.height()), IsDark) > 0) {
            if (first < 0) first = x;
            last = x;
        }
    return first < 0 ? 0 : last - first + 1;
}

QRect Cell(const TChnCalendar& calendar, int column, int row) {
    return CellRect(calendar.DayGrid().Sizes(), column, row);
}

TEST(RenderedControl, CreationSetsNowTitleLayoutAndTexts) {
    const auto calendar = MakeCalendar(kNow);
    EXPECT_TRUE(calendar->ShowTitle());
    EXPECT_EQ(calendar->DateTime(), kNow);
    EXPECT_EQ(calendar->DayGrid().geometry(), QRect(8, 40, 404, 183));
    EXPECT_EQ(calendar->DayGrid().Sizes().rowHeights[6], 35);
    EXPECT_EQ(calendar->CnMonth(), "冬月");
    EXPECT_EQ(calendar->CnDay(), "廿二");
    EXPECT_EQ(calendar->CnDate(), "冬月廿二");
    const auto* footer = calendar->findChild<QLabel*>("SelectedLabel");
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->text(), "2013-01-03 农历冬月廿二");
    EXPECT_EQ(footer->pos(), QPoint(10, 236));
    EXPECT_EQ(calendar->findChild<QLabel*>("YearLabel")->text(), "2013");
    EXPECT_EQ(calendar->findChild<QLabel*>("TodayLabel")->text(), "今天");
    const auto* month = calendar->findChild<QLabel*>("MonthLabel");
    EXPECT_EQ(month->text(), "1");
    EXPECT_EQ(month->geometry().right() + 1, 34 + month->fontMetrics().horizontalAdvance(' '));
    EXPECT_EQ(calendar->MonthSpin().Position(), 1);
    EXPECT_EQ(calendar->YearSpin().Position(), 2013);
    EXPECT_EQ(calendar->DayGrid().Selected(), (GridCell{5, 1})); // Jan 1 2013 is a Tuesday
    EXPECT_EQ(calendar->Cells().Cells(kAnimalYearCell).DayText, "龙年");
}

TEST(RenderedControl, HiddenTitleGivesTheGridAlmostEverything) {
    const auto calendar = MakeCalendar(kNow, {313, 253});
    calendar->SetShowTitle(false);
    EXPECT_EQ(calendar->DayGrid().geometry(), QRect(2, 2, 309, 249));
    EXPECT_FALSE(calendar->MonthSpin().isVisible());
    calendar->SetShowTitle(true);
    EXPECT_EQ(calendar->DayGrid().geometry(), QRect(8, 40, 298, 186));
    EXPECT_EQ(calendar->DayGrid().Sizes().columnWidths,
              (std::array<int, 9>{6, 40, 40, 40, 40, 40, 40, 40, 12}));
    EXPECT_TRUE(calendar->YearSpin().isVisible());
}

TEST(RenderedControl, SelectedCellHasTheGradientInsideItsFrame) {
    const auto calendar = MakeCalendar(kNow);
    const QImage grid = GridImage(*calendar);
    const QRect cell = Cell(*calendar, 5, 1);
    const TColor frame = RGB(0, 147, 70);
    EXPECT_EQ(ColourAt(grid, cell.left(), cell.top()), frame);
    EXPECT_EQ(ColourAt(grid, cell.right(), cell.bottom()), frame);
    EXPECT_EQ(ColourAt(grid, cell.left() + 20, cell.bottom()), frame);

    QImage expected(cell.size(), QImage::Format_RGB32);
    QPainter painter(&expected);
    GradientFill(painter, expected.rect(), 256, 0, RGB(0, 174, 83), RGB(0, 213, 101));
    painter.end();
    for (int y = 1; y < cell.height() - 1; ++y)
        EXPECT_EQ(ColourAt(grid, cell.left() + 1, cell.top() + y), ColourAt(expected, 1, y)) << "row " << y;
    // The unselected neighbour shows no highlight.
    EXPECT_NE(ColourAt(grid, cell.left() - 2, cell.top() + 1), ColourAt(expected, 1, 1));
}

TEST(RenderedControl, WeekendDayNumbersAreRedAndWeekdaysAreNot) {
    const auto calendar = MakeCalendar(kNow);
    const QImage grid = GridImage(*calendar);
    const auto upperHalf = [&](int column, int row) {
        const QRect cell = Cell(*calendar, column, row);
        return QRect(cell.left(), cell.top(), cell.width(), cell.height() / 2);
    };
    EXPECT_GT(Count(grid, upperHalf(1, 2), IsRed), 5); // Sunday 6th
    EXPECT_GT(Count(grid, upperHalf(7, 2), IsRed), 5); // Saturday 12th
    EXPECT_EQ(Count(grid, upperHalf(3, 2), IsRed), 0); // Tuesday 8th
    EXPECT_GT(Count(grid, upperHalf(3, 2), IsDark), 5);
    EXPECT_EQ(Count(grid, Cell(*calendar, 1, 1), IsDark), 0); // before the 1st: background only
}

TEST(RenderedControl, WeekDayNamesShortenInNarrowCells) {
    const auto wide = MakeCalendar(kNow);
    const int longName = InkWidth(GridImage(*wide), Cell(*wide, 2, 0).adjusted(0, 0, 0, -5));
    const auto narrow = MakeCalendar(kNow, {290, 253}); // 37-pixel cells
    ASSERT_EQ(narrow->DayGrid().Sizes().columnWidths[2], 37);
    const int shortName = InkWidth(GridImage(*narrow), Cell(*narrow, 2, 0).adjusted(0, 0, 0, -5));
    EXPECT_GT(longName, 24); // 星期一
    EXPECT_GT(shortName, 5); // 一
    EXPECT_LT(shortName, 16);
}

TEST(RenderedControl, TitleCellsAndWeekNumbersAreDrawn) {
    const auto calendar = MakeCalendar(kNow);
    const QImage before = GridImage(*calendar);
    for (int column = 5; column <= 7; ++column)
        EXPECT_GT(Count(before, Cell(*calendar, column, 6), IsDark), 5) << "title cell " << column;
    calendar->SetShowWeekNum(true);
    EXPECT_EQ(calendar->DayGrid().Sizes().columnWidths[0], 18);
    EXPECT_EQ(calendar->DayGrid().Sizes().columnWidths[1], 55); // not spread again
    const QImage after = GridImage(*calendar);
    EXPECT_GT(Count(after, Cell(*calendar, 0, 1), IsGreyInk), 3); // week 1, in ColorWeekNum
    EXPECT_EQ(ColourAt(after, 17, 30), RGB(197, 197, 197));       // the column's line
}

TEST(RenderedControl, HideSelectionHighlightsOnlyWithFocus) {
    test::EnsureApplication();
    CellStyle style;
    style.HideSelection = true;
    TDayTable table;
    table.Cells(1).Valid = true;
    table.Cells(1).DayText = "1";
    QImage back(100, 100, QImage::Format_RGB32);
    back.fill(Qt::white);
    const CellContext context{style, table, back, {0, 0}};
    QImage cell;
    PaintCell(context, {1, 1, QRect(10, 20, 40, 30), true, false}, cell);
    EXPECT_EQ(ColourAt(cell, 0, 0), RGB(255, 255, 255));
    PaintCell(context, {1, 1, QRect(10, 20, 40, 30), true, true}, cell);
    EXPECT_EQ(ColourAt(cell, 0, 0), RGB(0, 147, 70));
}

TEST(RenderedControl, DrawEventsCanReplaceOrSuppressTheTexts) {
    const auto calendar = MakeCalendar(kNow);
    std::vector<std::pair<int, bool>> seen;
    calendar->OnDrawDateCell = [&](TChnCalendar* sender, int day, QPainter&, const QRect& r, bool selected,
                                   QString& text, bool& defaultDraw) {
        EXPECT_EQ(sender, calendar.get());
        EXPECT_EQ(r.topLeft(), QPoint(0, 0));
        seen.emplace_back(day, selected);
        if (day == 8) defaultDraw = false;
        if (day == 9) text = QStringLiteral("99999999999999999999");
    };
    calendar->OnDrawCnDateCell = [](TChnCalendar*, int day, QPainter&, const QRect&, bool, QString&,
                                    bool& defaultDraw) { defaultDraw = day != 8; };
    calendar->RefreshGrid();
    const QImage grid = GridImage(*calendar);
    EXPECT_EQ(Count(grid, Cell(*calendar, 3, 2), IsDark), 0); // the 8th: nothing drawn
    EXPECT_GT(InkWidth(grid, Cell(*calendar, 4, 2)), 45);     // the 9th: a long text, cut to the cell
    EXPECT_EQ(seen.size(), 31u);
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::pair(3, true)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::pair(4, false)), seen.end());
}

TEST(RenderedControl, PlainRepaintComposesNoCellAndFillsNoDate) {
    const auto calendar = MakeCalendar(kNow);
    int composed = 0;
    calendar->OnDrawDateCell = [&](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool&) {
        ++composed;
    };
    const TDateTime lastFill = calendar->DateInfo().Date;
    calendar->repaint();
    const QImage shot = calendar->grab().toImage();
    EXPECT_EQ(composed, 0);
    EXPECT_EQ(calendar->DateInfo().Date, lastFill);
    // The grid on screen is the buffer composed at the last refresh.
    EXPECT_EQ(shot.copy(calendar->DayGrid().geometry()).convertToFormat(QImage::Format_RGB32),
              calendar->DayGrid().Buffer());
}

// A resize while the control or its window is hidden must not leave the grid without its picture.
TEST(RenderedControl, GridShowsTheMonthAfterAResizeWhileHidden) {
    const auto calendar = MakeCalendar(kNow);
    const auto expectMonthShown = [&](const char* how) {
        QApplication::sendPostedEvents();
        const QImage grid = GridImage(*calendar);
        const QRect selected = Cell(*calendar, 5, 1);
        EXPECT_EQ(ColourAt(grid, selected.left(), selected.top()), RGB(0, 147, 70)) << how;
        const QRect empty = Cell(*calendar, 1, 1); // before the 1st: white ground
        EXPECT_EQ(ColourAt(grid, empty.left() + 1, empty.top() + 1), RGB(255, 255, 255)) << how;
        EXPECT_EQ(Count(grid, empty, IsDark), 0) << how;
    };
    calendar->hide();
    calendar->resize(500, 300);
    calendar->show();
    expectMonthShown("control hidden");

    QWidget window;
    calendar->setParent(&window);
    window.resize(600, 400);
    window.show();
    window.hide();
    calendar->resize(419, 250);
    window.resize(750, 500);
    window.show();
    expectMonthShown("window hidden");
    calendar->setParent(nullptr);
}

TEST(RenderedControl, SizesTooSmallForTheGridDrawWithoutFailing) {
    const auto calendar = MakeCalendar(kNow);
    QImage picture(50, 20, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 128));
    calendar->SetBackGround(picture);
    calendar->SetStretch(true);
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(14, 66), QSize(30, 90), QSize(419, 250)}) {
        calendar->resize(size);
        QApplication::sendPostedEvents();
        calendar->grab();
        calendar->SetDateTime(calendar->DateTime() + 1);
    }
    EXPECT_EQ(calendar->DayGrid().geometry(), QRect(8, 40, 404, 183));
    EXPECT_EQ(calendar->DateTime(), kNow + 5);
}

TEST(DateRoutine, RefusedValuesChangeNothing) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    log.Attach(*calendar);
    calendar->SetDateTime(kNow);                         // the same value
    calendar->SetDateTime(EncodeDate(2101, 1, 1) + 0.5); // past the year range
    calendar->SetDateTime(std::nan(""));
    calendar->SetDateTime(1e300);
    calendar->SetDateTime(-1e9);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(calendar->DateTime(), kNow);
    calendar->SetDateTime(EncodeDate(2100, 12, 31) + 0.99);
    calendar->SetDateTime(EncodeDate(2100, 12, 31) + 0.5); // another time of the same day
    calendar->SetDateTime(EncodeDate(1, 1, 1));
    EXPECT_EQ(log.events, (std::vector<std::string>{"change", "change", "change"}));
    EXPECT_EQ(calendar->YearSpin().Position(), 1);
}

TEST(DateRoutine, EraBefore1949AndFailingHandlersAreSwallowed) {
    const auto calendar = MakeCalendar(kNow);
    calendar->OnChange = [](TChnCalendar*) { throw std::runtime_error("host failure"); };
    calendar->SetDateTime(EncodeDate(1948, 6, 1));
    const QString footer = calendar->findChild<QLabel*>("SelectedLabel")->text();
    EXPECT_TRUE(footer.startsWith(QString::fromStdString(EraOf(1948)) + " 农历")) << footer.toStdString();
    EXPECT_TRUE(footer.startsWith("[近、现代]中华民国"));
    EXPECT_EQ(calendar->DateTime(), EncodeDate(1948, 6, 1));
}

// The footer, the title cells and the lunar lines show the same texts however the user reached the date.
TEST(DateRoutine, TextsDoNotDependOnTheDateShownBefore) {
    const auto calendar = MakeCalendar(kNow);
    const auto footer = [&] { return calendar->findChild<QLabel*>("SelectedLabel")->text(); };
    calendar->SetDateTime(EncodeDate(1912, 1, 10));
    EXPECT_TRUE(footer().startsWith("[近、现代]中华民国  民国2年 ")) << footer().toStdString();
    calendar->SetDateTime(EncodeDate(1911, 12, 10));
    EXPECT_TRUE(footer().startsWith("[近、现代]中华民国  民国元年 ")) << footer().toStdString();

    calendar->SetDateTime(EncodeDate(2023, 1, 25)); // lunar 2023, before 立春
    EXPECT_EQ(calendar->Cells().Cells(kStemBranchCell).DayText, "壬寅");
    calendar->SetDateTime(EncodeDate(2023, 3, 1));
    EXPECT_EQ(calendar->Cells().Cells(kStemBranchCell).DayText, "癸卯");

    calendar->SetDateTime(EncodeDate(2023, 3, 22)); // 闰二初一
    calendar->SetDateTime(EncodeDate(2023, 3, 21)); // 二月三十
    EXPECT_EQ(calendar->CnDate(), "二月三十");
    EXPECT_EQ(calendar->Cells().Cells(4 + 21).LunarMonth, "闰二");
    EXPECT_EQ(calendar->Cells().Cells(4 + 20).LunarMonth, "二月");
}

TEST(DateRoutine, DayColourSettersRebuildTheTableAndNotify) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    log.Attach(*calendar);
    calendar->SetColorDate(RGB(1, 2, 3));
    calendar->SetColorCnDate(RGB(4, 5, 6));
    EXPECT_EQ(log.events.size(), 2u);
    EXPECT_EQ(calendar->Cells().Cells(4).DayColor, RGB(1, 2, 3));   // Wednesday 2nd
    EXPECT_EQ(calendar->Cells().Cells(8).DayColor, 255);            // Sunday 6th
    EXPECT_EQ(calendar->Cells().Cells(5).LunarColor, RGB(4, 5, 6)); // 廿二
    calendar->SetColorSelectedFrame(RGB(10, 20, 30));
    const QRect cell = Cell(*calendar, 5, 1);
    EXPECT_EQ(ColourAt(GridImage(*calendar), cell.left(), cell.top()), RGB(10, 20, 30));
    EXPECT_EQ(log.events.size(), 2u);
}

TEST(DateRoutine, BackgroundPropertiesReRenderTheBuffer) {
    const auto calendar = MakeCalendar(kNow);
    EXPECT_EQ(ColourAt(calendar->BackBuffer(), 0, 0), 8421504); // the frame is shown from the start
    calendar->SetColorShowFrame(RGB(1, 2, 3));
    EXPECT_EQ(ColourAt(calendar->BackBuffer(), 0, 0), RGB(1, 2, 3));
    calendar->SetShowFrame(false);
    EXPECT_EQ(ColourAt(calendar->BackBuffer(), 0, 0), RGB(255, 255, 255));
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    picture.setPixel(0, 0, qRgb(1, 1, 1));
    calendar->SetBackGround(picture);
    EXPECT_EQ(calendar->PictureLayer().size(), QSize(419, 250));
    EXPECT_EQ(ColourAt(calendar->BackBuffer(), 5, 5), RGB(127, 127, 127));
    calendar->SetAlphaBlend(100);
    EXPECT_EQ(ColourAt(calendar->BackBuffer(), 5, 5), RGB(255, 255, 255));
    calendar->SetBackGround(QImage());
    EXPECT_TRUE(calendar->PictureLayer().isNull());
}

} // namespace
} // namespace quenda
