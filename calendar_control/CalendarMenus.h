#pragma once
// The month and year popup menus of the calendar. Every action carries its month or year as data; the
// "今日" actions carry nothing.

#include <QLocale>

class QMenu;

namespace quenda {

// "今日", a separator and the twelve long month names of the locale ("mmmm" of 2004-01-01 ... 2004-12-01).
void BuildMonthMenu(QMenu& menu, const QLocale& locale);

// "今日", "历史日期" with 19 century groups of ten years each (10 ... 1900), and the decades 1900 ... 2090.
void BuildYearMenu(QMenu& menu);

// The month names of the user's locale: the program speaks Simplified Chinese.
QLocale CalendarLocale();

} // namespace quenda
