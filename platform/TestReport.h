#pragma once
// What tests of the whole program observe: with QUENDA_TEST_REPORT=1 in its environment the program
// prints a line on standard output when its window has first been painted ("painted"), after every note
// save that returned stored ("saved KEY LENGTH", LENGTH the note's plain-text length), for every
// message box it shows ("message TEXT"), when a second start asks the window forward ("front [TOKEN]",
// with the second start's activation token), when the window did not become active then and asks for
// attention ("attention") and when `--sync` asked it to sync ("sync requested"). Nothing a user sees
// changes; without the variable nothing is printed.
//
// With QUENDA_STARTUP_TRACE=1 the start-up steps are written to standard error as "startup STEP
// MICROSECONDS", the time on the monotonic clock, so a starter that notes the clock before it starts the
// program sees where the time to the first picture goes.

#include <QString>

namespace quenda {

bool TestReportEnabled();
void ReportForTests(const QString& line);
void TraceStartupStep(const char* step);

} // namespace quenda
