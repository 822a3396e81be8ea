#include "DayNames.h"

#include <QStringList>

namespace quenda {

QString WeekdayName(int dayOfWeek) {
    // clang-format off
    static const char* const kNames[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    // clang-format on
    if (dayOfWeek < 1 || dayOfWeek > 7) return {};
    return QString::fromUtf8(kNames[dayOfWeek - 1]);
}

QString DayAccessibleName(int year, int month, const TcnDateInf& cell, const DayFacts& facts) {
    QStringList parts{QStringLiteral("%1年%2月%3日").arg(year).arg(month).arg(cell.Day),
                      WeekdayName(DayOfWeek(EncodeDate(year, month, cell.Day))),
                      QStringLiteral("农历") + cell.LunarMonth + cell.LunarDay};
    for (const QString& text : {cell.Holiday, cell.LunarHoliday, cell.SolarTerm})
        if (!text.isEmpty()) parts.append(text);
    if (facts.schedule != DayFacts::Schedule::Ordinary) {
        const QString mark =
            facts.schedule == DayFacts::Schedule::DayOff ? QStringLiteral("休") : QStringLiteral("班");
        parts.append(facts.holidayName.isEmpty() ? mark : mark + QLatin1Char(' ') + facts.holidayName);
    }
    if (facts.hasNote) parts.append(QStringLiteral("有记事"));
    return parts.join(QLatin1Char(' '));
}

} // namespace quenda
