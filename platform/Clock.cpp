#include "Clock.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quenda {

namespace {

std::function<TDateTime()>& nowOverride() {
    static std::function<TDateTime()> now;
    return now;
}

const QDate kDateTimeEpoch(1899, 12, 30);
constexpr double kMillisecondsPerDay = 86400000.0;

} // namespace

TDateTime Clock::Now() {
    if (const auto& now = nowOverride()) return now();
    return ToDateTimeValue(QDateTime::currentDateTime());
}

void Clock::SetNowForTesting(std::function<TDateTime()> now) {
    nowOverride() = std::move(now);
}

TDateTime ToDateTimeValue(const QDateTime& moment) {
    const double days = static_cast<double>(kDateTimeEpoch.daysTo(moment.date()));
    const double fraction = moment.time().msecsSinceStartOfDay() / kMillisecondsPerDay;
    // Before the epoch the whole part counts back while the time of day still adds its magnitude.
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime FromDateTimeValue(TDateTime value) {
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    const QDate date = kDateTimeEpoch.addDays(static_cast<qint64>(whole));
    const int msecs = static_cast<int>(std::lround(fraction * kMillisecondsPerDay));
    return QDateTime(date, QTime(0, 0).addMSecs(std::min(msecs, 86399999)));
}

} // namespace quenda
