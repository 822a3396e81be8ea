#include "TestSupport.h"

#include "Clock.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace quenda::test {

namespace {} // namespace

TColor ColourAt(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

std::unique_ptr<TChnCalendar> MakeCalendar(TDateTime now, QSize size) {
    EnsureApplication();
    Clock::SetNowForTesting([now] { return now; });
    auto calendar = std::make_unique<TChnCalendar>();
    calendar->resize(size);
    calendar->show();
    calendar->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(calendar.get()));
    return calendar;
}

QImage GridImage(const TChnCalendar& calendar) {
    return calendar.DayGrid().grab().toImage();
}

void EventLog::Attach(TChnCalendar& calendar) {
    calendar.OnChange = [this](TChnCalendar*) { events.push_back("change"); };
    calendar.OnDateClick = [this](TChnCalendar*) { events.push_back("click"); };
    calendar.OnDateSelect = [this](TChnCalendar*) { events.push_back("select"); };
}

} // namespace quenda::test
