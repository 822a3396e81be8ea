#pragma once
// What a screen reader says for a day of the month calendar: "2026年12月10日 星期四 农历冬月初二", then the
// festivals, the solar term, the holiday-schedule mark and the note mark where they apply.

#include "CalendarDayTable.h"

#include <QString>


namespace quenda {

// Facts about a day that the calendar engine does not know: the official holiday schedule and the note store
// (the control takes them from its day table, as it shows them).
struct DayFacts {
    enum class Schedule {
        Ordinary,
        DayOff,
        WorkDay
    }; // 休: a day off of a public holiday; 班: worked instead
    Schedule schedule = Schedule::Ordinary;
    QString holidayName; // the public holiday the day off or the working day belongs to
    bool hasNote = false;
};

// "星期日" .. "星期六" for DayOfWeek's 1 (Sunday) .. 7 (Saturday); empty outside.
QString WeekdayName(int dayOfWeek);

// The name of the day `cell` of the month `year`-`month`, from its day table cell and its facts.
QString DayAccessibleName(int year, int month, const TcnDateInf& cell, const DayFacts& facts = {});

} // namespace quenda
