#pragma once
// Notes in an iCalendar file: the export of all notes or a date range into one .ics file, and the
// reading of such a file (ours or another program's) into the day notes it holds.

#include "NoteJournal.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace quenda {

class TDM;

// A file larger than this is refused before it is read: libical holds a whole file in memory, several
// times its size. A larger diary is exported and imported in date ranges.
inline constexpr qint64 kMaxIcsBytes = 40 * 1024 * 1024;

struct ExportOutcome {
    bool ok = false;
    int notes = 0;   // days written
    QString message; // the reason of a failure, in the user's words
};

// The calendar of `notes`, UTF-8 iCalendar text.
QByteArray IcsOfNotes(const std::vector<JournalNote>& notes, const QDateTime& stamp);

// Writes every note with visible text from `from` to `to` (either open) into `path`, replacing it only
// once the whole file is written.
ExportOutcome ExportNotes(TDM& dm, const QString& path, std::optional<QDate> from, std::optional<QDate> to);

// What a file holds for the import: a note per day (entries of one day joined in file order), and what
// was left out.
struct IcsContent {
    QString error; // set when the file cannot be imported at all; then nothing else counts
    std::vector<JournalNote> notes; // ordered by day
    int events = 0;  // VEVENTs, which hold no notes
    int others = 0;  // to-dos and other components
    int undated = 0; // journal entries without a date
    int empty = 0;   // journal entries without text
};

// Reads iCalendar text: refused when it is not UTF-8, not iCalendar, cut short, or names a day outside
// the calendar.
IcsContent ParseIcs(const QByteArray& bytes);

// Reads the file at `path` through ParseIcs; a missing, unreadable or too large file is refused.
IcsContent ReadIcsFile(const QString& path);

} // namespace quenda
