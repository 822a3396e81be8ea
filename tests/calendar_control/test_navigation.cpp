// Moving the date: spin buttons, menus, the "今天" label, mouse presses and drags in the grid, keys, and
// the notifications they raise in order.
#include "CalendarLayout.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quenda {
namespace {

using test::EventLog;
using test::MakeCalendar;

const TDateTime kNow = EncodeDate(2013, 1, 3) + 0.38143699074;

QPoint CentreOf(const TChnCalendar& calendar, int column, int row) {
    return CellRect(calendar.DayGrid().Sizes(), column, row).center();
}

void ClickSpin(TSpinButton& spin, bool up) {
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(spin.width() / 2, up ? 2 : spin.height() - 3));
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, pos, widget.mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Press(TChnCalendar& calendar, int column, int row) {
    SendMouse(calendar.DayGrid(), QEvent::MouseButtonPress, CentreOf(calendar, column, row), Qt::LeftButton,
              Qt::LeftButton);
}

void Release(TChnCalendar& calendar, int column, int row) {
    SendMouse(calendar.DayGrid(), QEvent::MouseButtonRelease, CentreOf(calendar, column, row), Qt::LeftButton,
              Qt::NoButton);
}

void Leave(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

QAction* ItemWithNumber(QMenu& menu, int number) {
    for (QAction* action : menu.findChildren<QAction*>())
        if (action->menu() == nullptr && action->data().toInt() == number) return action;
    return nullptr;
}

TEST(Spin, MonthArrowsCrossYearEndsKeepTheDayAndDropTheTime) {
    const auto calendar = MakeCalendar(kNow);
    calendar->SetDateTime(EncodeDate(2012, 12, 15) + 0.5);
    ClickSpin(calendar->MonthSpin(), true);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 1, 15));
    EXPECT_EQ(calendar->YearSpin().Position(), 2013);
    ClickSpin(calendar->MonthSpin(), false);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2012, 12, 15));
    EXPECT_EQ(calendar->MonthSpin().Position(), 12);
    calendar->SetDateTime(EncodeDate(2013, 5, 31));
    ClickSpin(calendar->MonthSpin(), true);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 6, 30));
}

TEST(Spin, YearArrowShortensTheLeapDay) {
    const auto calendar = MakeCalendar(kNow);
    calendar->SetDateTime(EncodeDate(2012, 2, 29) + 0.25);
    ClickSpin(calendar->YearSpin(), true);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 2, 28));
    ClickSpin(calendar->YearSpin(), false);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2012, 2, 28));
}

TEST(Spin, StepsPastTheYearRangeLeaveTheDate) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    calendar->SetDateTime(EncodeDate(2100, 12, 31));
    log.Attach(*calendar);
    ClickSpin(calendar->MonthSpin(), true);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2100, 12, 31));
    calendar->SetDateTime(EncodeDate(1, 1, 5));
    log.events.clear();
    ClickSpin(calendar->MonthSpin(), false); // year 0 has no day at all
    EXPECT_EQ(calendar->DateTime(), EncodeDate(1, 1, 5));
    ClickSpin(calendar->YearSpin(), false); // already at the lowest year
    EXPECT_EQ(calendar->DateTime(), EncodeDate(1, 1, 5));
    EXPECT_TRUE(log.events.empty());
}

// A refused step puts both spins back on the date, so the next arrow steps from the date shown.
TEST(Spin, RefusedStepsLeaveTheSpinsOnTheDate) {
    const auto calendar = MakeCalendar(kNow);
    const auto spins = [&] {
        return std::pair(calendar->YearSpin().Position(), calendar->MonthSpin().Position());
    };
    calendar->SetDateTime(EncodeDate(2100, 12, 31));
    for (int i = 0; i < 2; ++i) {
        ClickSpin(calendar->MonthSpin(), true);
        EXPECT_EQ(calendar->DateTime(), EncodeDate(2100, 12, 31));
        EXPECT_EQ(spins(), std::pair(2100, 12));
    }
    ClickSpin(calendar->MonthSpin(), false);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2100, 11, 30));

    calendar->SetDateTime(EncodeDate(1, 1, 5));
    for (int i = 0; i < 2; ++i) {
        ClickSpin(calendar->MonthSpin(), false);
        EXPECT_EQ(calendar->DateTime(), EncodeDate(1, 1, 5));
        EXPECT_EQ(spins(), std::pair(1, 1));
    }
    ClickSpin(calendar->MonthSpin(), true);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(1, 2, 5));
}

void MoveHeld(TSpinButton& spin, bool overUp) {
    SendMouse(spin, QEvent::MouseMove, QPoint(spin.width() / 2, overUp ? 2 : spin.height() - 3), Qt::NoButton,
              Qt::LeftButton);
}

// A held arrow steps again after the style's spin-box delay, then at its rate, pausing while the pointer
// is off the held arrow. The repeat timer is driven here instead of waiting for it.
TEST(Spin, HeldArrowRepeatsAtTheStylesDelayAndRate) {
    const auto calendar = MakeCalendar(kNow);
    TSpinButton& spin = calendar->MonthSpin();
    auto* timer = spin.findChild<QTimer*>("RepeatTimer");
    ASSERT_NE(timer, nullptr);
    const auto fire = [timer] { QMetaObject::invokeMethod(timer, "timeout"); };
    const QStyle* style = spin.style();
    QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(spin.width() / 2, 2));
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 2, 3));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(),
              style->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, &spin));
    fire();
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 3));
    EXPECT_EQ(timer->interval(), style->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, &spin));
    fire();
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 4, 3));
    MoveHeld(spin, false); // onto the other arrow: no steps, in neither direction
    fire();
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 4, 3));
    MoveHeld(spin, true);
    fire();
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 5, 3));
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(spin.width() / 2, 2));
    EXPECT_FALSE(timer->isActive());

    // Down on the year spin; hiding the spins while held ends the repeat.
    TSpinButton& years = calendar->YearSpin();
    QTest::mousePress(&years, Qt::LeftButton, {}, QPoint(years.width() / 2, years.height() - 3));
    QMetaObject::invokeMethod(years.findChild<QTimer*>("RepeatTimer"), "timeout");
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2011, 5, 3));
    calendar->SetShowTitle(false);
    EXPECT_FALSE(years.findChild<QTimer*>("RepeatTimer")->isActive());
}

TEST(Menus, ItemsMoveTheDateAndTodayKeepsTheTime) {
    const auto calendar = MakeCalendar(kNow);
    QAction* year1810 = ItemWithNumber(calendar->YearMenu(), 1810);
    ASSERT_NE(year1810, nullptr);
    EXPECT_EQ(year1810->parent()->objectName(), "MenuYear_History_1810");
    year1810->trigger();
    EXPECT_EQ(calendar->DateTime(), EncodeDate(1810, 1, 3));
    EXPECT_TRUE(calendar->Cells().Cells(2).Valid); // 1810-01-01 was a Monday
    EXPECT_FALSE(calendar->Cells().Cells(1).Valid);

    calendar->findChild<QAction*>("MenuMonth_2")->trigger(); // 三月
    EXPECT_EQ(calendar->DateTime(), EncodeDate(1810, 3, 3));
    ItemWithNumber(calendar->YearMenu(), 2099)->trigger();
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2099, 3, 3));

    calendar->findChild<QAction*>("MenuYear_ToDay")->trigger();
    EXPECT_EQ(calendar->DateTime(), kNow);
    calendar->SetDateTime(EncodeDate(2000, 1, 1));
    calendar->findChild<QAction*>("MenuMonth_ToDay")->trigger();
    EXPECT_EQ(calendar->DateTime(), kNow);
}

TEST(Menus, LabelsOpenTheirMenusAndTodayLabelGoesToNow) {
    const auto calendar = MakeCalendar(kNow);
    calendar->SetDateTime(EncodeDate(2000, 1, 1));
    auto* month = calendar->findChild<QLabel*>("MonthUnitLabel");
    QTest::mouseClick(month, Qt::LeftButton);
    EXPECT_TRUE(calendar->MonthMenu().isVisible());
    calendar->MonthMenu().hide();
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2), calendar->mapToGlobal(QPoint(200, 20)));
    QApplication::sendEvent(calendar->findChild<QLabel*>("YearUnitLabel"), &request);
    EXPECT_TRUE(calendar->YearMenu().isVisible());
    calendar->YearMenu().hide();
    QTest::mouseClick(calendar->findChild<QLabel*>("TodayLabel"), Qt::LeftButton);
    EXPECT_EQ(calendar->DateTime(), kNow);
}

TEST(Menus, GridContextMenuOnlyWithoutTitle) {
    const auto calendar = MakeCalendar(kNow);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(50, 50), QPoint(100, 100));
    QApplication::sendEvent(&calendar->DayGrid(), &request);
    EXPECT_FALSE(calendar->YearMenu().isVisible());
    calendar->SetShowTitle(false);
    QApplication::sendEvent(&calendar->DayGrid(), &request);
    EXPECT_TRUE(calendar->YearMenu().isVisible());
    calendar->YearMenu().hide();
}

TEST(Mouse, FirstPressOnlyChangesLaterPressesAlsoClick) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    log.Attach(*calendar);
    EXPECT_FALSE(calendar->MousePressed());
    Press(*calendar, 5, 2); // the 10th
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 1, 10));
    EXPECT_TRUE(calendar->MousePressed());
    Release(*calendar, 5, 2);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change", "select"}));
    log.events.clear();
    Press(*calendar, 6, 2);
    Release(*calendar, 6, 2);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change", "click", "select"}));
    log.events.clear();
    Leave(calendar->DayGrid());
    EXPECT_FALSE(calendar->MousePressed());
    Press(*calendar, 7, 2);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change"}));
    EXPECT_TRUE(calendar->DayGrid().hasFocus());
}

TEST(Mouse, FailingClickHandlerFallsBackToNow) {
    const auto calendar = MakeCalendar(kNow);
    calendar->OnDateClick = [](TChnCalendar*) { throw std::runtime_error("handler failure"); };
    calendar->OnDateSelect = [](TChnCalendar*) { throw std::runtime_error("handler failure"); };
    Press(*calendar, 5, 2); // first press: no click yet
    Release(*calendar, 5, 2);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 1, 10));
    Press(*calendar, 6, 2); // the 11th is applied, then the click handler fails
    EXPECT_EQ(calendar->DateTime(), kNow);
    EXPECT_EQ(calendar->DayGrid().Selected(), (GridCell{5, 1}));
}

TEST(Mouse, PressesOnCellsWithoutADayChangeNothing) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    log.Attach(*calendar);
    const GridCell empty[] = {{1, 1}, {2, 1}, {6, 5}, {1, 6}, {5, 6}, {4, 0}, {0, 3}, {8, 3}};
    for (const GridCell& cell : empty) {
        Press(*calendar, cell.column, cell.row);
        Release(*calendar, cell.column, cell.row);
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(calendar->DateTime(), kNow);
    EXPECT_EQ(calendar->DayGrid().Selected(), (GridCell{5, 1}));
}

TEST(Mouse, DragSelectsEveryDayItPasses) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    log.Attach(*calendar);
    Press(*calendar, 5, 1); // the 3rd, already selected: no change
    const GridCell path[] = {{6, 1}, {7, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}};
    for (const GridCell& cell : path)
        SendMouse(calendar->DayGrid(), QEvent::MouseMove, CentreOf(*calendar, cell.column, cell.row),
                  Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 1, 10));
    // The press moves the 3rd to midnight; then a change and a click for each of the 4th ... 10th.
    ASSERT_EQ(log.events.size(), 15u);
    EXPECT_EQ(log.events.at(0), "change");
    EXPECT_EQ(log.events.at(1), "change");
    EXPECT_EQ(log.events.at(2), "click");
    // Moving without the button held selects nothing.
    SendMouse(calendar->DayGrid(), QEvent::MouseMove, CentreOf(*calendar, 6, 2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 1, 10));
}

TEST(Mouse, DoubleClickSecondPressProposesNothing) {
    const auto calendar = MakeCalendar(kNow);
    EventLog log;
    log.Attach(*calendar);
    Press(*calendar, 6, 1);
    SendMouse(calendar->DayGrid(), QEvent::MouseButtonDblClick, CentreOf(*calendar, 7, 1), Qt::LeftButton,
              Qt::LeftButton);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 1, 4));
    Release(*calendar, 6, 1); // on the selected cell, but not after a proposing press
    EXPECT_EQ(log.events, (std::vector<std::string>{"change"}));
}

TEST(Keys, ArrowsAndPageDownProposeNeighbours) {
    const auto calendar = MakeCalendar(kNow);
    calendar->SetDateTime(EncodeDate(2013, 3, 3)); // Sunday, cell (1, 2); March 2013 reaches row 6
    TDayGrid& grid = calendar->DayGrid();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Left); // the week-number column: refused
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 3));
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 4));
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 11));
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 4)); // row 1 has no day in that column
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 4));
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_PageDown);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 31));
    for (const auto key : {Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End})
        QTest::keyClick(&grid, key);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(calendar->DateTime(), EncodeDate(2013, 3, 31));
}

} // namespace
} // namespace quenda
