#include "TestSupport.h"

#include "Clock.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace quenda::test {

namespace {

// Owns the application object and ends it before the process's exit handlers run: Qt's input devices
// must not outlive it.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void Create() {
        static int argc = 1;
        static char name[] = "calendar_control_tests";
        static char* argv[] = {name, nullptr};
        InstallFontSubstitutions();
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

// gtest owns registered environments.
ApplicationEnvironment* const g_environment =
    static_cast<ApplicationEnvironment*>(::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));

} // namespace

void EnsureApplication() {
    if (QApplication::instance() == nullptr) g_environment->Create();
}

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
