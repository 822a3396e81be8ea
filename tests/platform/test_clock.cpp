// The clock seam and the conversions between Qt's local date-time and the date-time value that keys notes.
#include "Clock.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace quenda;

namespace {

TEST(Clock, ConvertsMomentsOnBothSidesOfTheEpoch) {
    struct Case {
        QDateTime moment;
        TDateTime value;
    };
    const Case cases[] = {
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
        {QDateTime(QDate(2013, 1, 3), QTime(9, 9, 16)), 41277.38143518519},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25}, // the day counts back, the time forward
        {QDateTime(QDate(1, 1, 1), QTime(12, 0)), -693593.5},
        {QDateTime(QDate(2100, 12, 31), QTime(23, 59, 59, 999)), 73415.0 + 86399999.0 / 86400000.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(ToDateTimeValue(c.moment), c.value, 1e-9)
            << c.moment.toString(Qt::ISODateWithMs).toStdString();
        EXPECT_EQ(FromDateTimeValue(c.value), c.moment) << c.value;
        EXPECT_EQ(DecodeDate(c.value),
                  (CivilDate{c.moment.date().year(), c.moment.date().month(), c.moment.date().day()}));
    }
}

TEST(Clock, TestsCanFixNowAndRestoreTheSystemClock) {
    Clock::SetNowForTesting([] { return 41277.5; });
    EXPECT_EQ(Clock::Now(), 41277.5);

    Clock::SetNowForTesting({});
    const TDateTime before = ToDateTimeValue(QDateTime::currentDateTime());
    const TDateTime now = Clock::Now();
    const TDateTime after = ToDateTimeValue(QDateTime::currentDateTime());
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

} // namespace
