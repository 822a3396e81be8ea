// What a screen reader says for a day: date, weekday, lunar date, then every festival and the solar term
// (the lunar line shows only one of them), the holiday-schedule mark and the note mark.
#include "DayNames.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

using Schedule = DayFacts::Schedule;

TEST(DayNames, NameTheDayInFull) {
    const struct {
        int year, month, day;
        DayFacts facts;
        const char* name;
    } cases[] = {
        {2026, 12, 10, {}, "2026年12月10日 星期四 农历冬月初二"},
        {2026, 12, 22, {}, "2026年12月22日 星期二 农历冬月十四 冬至"},
        {2001, 10, 1, {}, "2001年10月1日 星期一 农历八月十五 国庆节 中秋节"},
        {2027, 2, 6, {Schedule::DayOff, "春节", false}, "2027年2月6日 星期六 农历正月初一 春节 休 春节"},
        {2026,
         10,
         10,
         {Schedule::WorkDay, "国庆节", true},
         "2026年10月10日 星期六 农历九月初一 班 国庆节 有记事"},
        {2026, 12, 9, {Schedule::WorkDay, "", true}, "2026年12月9日 星期三 农历冬月初一 班 有记事"},
    };
    for (const auto& c : cases) {
        TDayTable table;
        TChnCal info;
        const int cell = FillMonth(table, info, c.year, c.month, c.day, DayColours{});
        EXPECT_EQ(DayAccessibleName(c.year, c.month, table.Cells(cell), c.facts), QString::fromUtf8(c.name));
    }
}

} // namespace
} // namespace quenda
