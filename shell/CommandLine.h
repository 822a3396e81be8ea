#pragma once
// The program's command line, parsed in one place: which data folder to use and how to start. Qt's own
// options (-platform, -display) are taken by the application object before this sees the arguments.

#include <QString>
#include <QStringList>

#include <variant>

namespace quenda {

struct CommandLine {
    QString dataDir;        // --data-dir DIR: the user's data folder instead of the usual one
    bool minimized = false; // --minimized: start without showing the window where a tray icon can show it
    bool sync = false;      // --sync: one pull and push with the calendar server, no window, then end
};

// What to print before ending at once (--help, --version, a wrong argument), and the exit status.
struct CommandLineExit {
    int status = 0;
    QString text;
};

std::variant<CommandLine, CommandLineExit> ParseCommandLine(const QStringList& arguments);

// True when the arguments ask for something that shows no window (--help, --version, --sync): the program then
// starts Qt without a display, so it works from a terminal, a script or a scheduled job.
bool RunsWithoutWindow(const QStringList& arguments);

} // namespace quenda
