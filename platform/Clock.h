#pragma once
// The program's one source of "now". Nothing else asks the system clock, so tests can fix the moment.

#include "DateTimeValue.h"

#include <functional>

class QDateTime;

namespace quenda {

class Clock {
public:
    // The local date and time as a date-time value (days since 1899-12-30, fraction = time of day).
    static TDateTime Now();

    // Replaces the system clock; an empty function restores it. Only tests call this.
    static void SetNowForTesting(std::function<TDateTime()> now);
};

// Converts between the platform's date-time value and Qt's local date-time.
TDateTime ToDateTimeValue(const QDateTime& moment);
QDateTime FromDateTimeValue(TDateTime value);

} // namespace quenda
