#pragma once
// The program's command line, parsed in one place: which data folder to use and how to start. Qt's own
// options (-platform, -display) are taken by the application object before this sees the arguments.

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace quenda {

struct CommandLine {
    QString dataDir;        // --data-dir DIR: the user's data folder instead of the usual one
    bool minimized = false; // --minimized: start without showing the window where a tray icon can show it
    // Commands that run without a window and end (at most one of the three):
    QString backupFile;         // --backup FILE: a copy of the note store
    QString exportFile;         // --export FILE.ics: the notes as iCalendar journal entries ...
    std::optional<QDate> from;  // ... --from YYYY-MM-DD
    std::optional<QDate> to;    // ... --to YYYY-MM-DD
    QString importFile;         // --import FILE.ics: prints what it would do ...
    bool yes = false;           // ... and does it with --yes
    bool sync = false;          // --sync: one pull and push with the calendar server, no window, then end

    bool HasBatchCommand() const {
        return !backupFile.isEmpty() || !exportFile.isEmpty() || !importFile.isEmpty();
    }
};

// What to print before ending at once (--help, --version, a wrong argument), and the exit status.
struct CommandLineExit {
    int status = 0;
    QString text;
};

std::variant<CommandLine, CommandLineExit> ParseCommandLine(const QStringList& arguments);

// True when the arguments ask for something that shows no window (--help, --version, --backup,
// --export, --import, --sync): the program then
// starts Qt without a display, so it works from a terminal, a script or a scheduled job.
bool RunsWithoutWindow(const QStringList& arguments);

} // namespace quenda
