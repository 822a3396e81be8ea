#pragma once
// A day's note as an iCalendar journal entry (VJOURNAL) and back, through libical. One entry per day:
// DTSTART;VALUE=DATE, a UID made from the date (so a second export names the same entries), SUMMARY (the
// first line), DESCRIPTION (the plain text) and X-ALT-DESC;FMTTYPE=text/html (the rich text). Evolution's
// memos and KOrganizer's journal read these; the export file and the CalDAV sync both build on it.

#include <libical/ical.h>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QTextDocument;

namespace quenda {

struct IcalFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using IcalComponent = std::unique_ptr<icalcomponent, IcalFree>;

// A day's note in the two forms iCalendar carries.
struct JournalNote {
    QString key;       // the day, YYYYMMDD
    QString plainText; // DESCRIPTION
    QString html;      // X-ALT-DESC (or STYLED-DESCRIPTION) as text/html; empty when there is none
};

// libical knows no STYLED-DESCRIPTION (RFC 9073) and drops it; the reader renames it to this first.
inline constexpr char kStyledDescriptionName[] = "X-STYLED-DESCRIPTION";

// The first and last day the calendar shows; entries outside are refused.
inline constexpr int kFirstJournalYear = 1, kLastJournalYear = 2100;

// The texts of stored note bytes (RTF, or plain text from an older program).
JournalNote JournalNoteOf(const QString& key, const QByteArray& data);

// "20130102@quenda-calendar": the same day always gets the same UID.
QString JournalUid(const QString& key);

// The first line with visible text, trimmed: the entry's SUMMARY.
QString SummaryOf(const QString& plainText);

// A VJOURNAL for `note`, stamped (DTSTAMP) with `stamp`.
IcalComponent JournalOf(const JournalNote& note, const QDateTime& stamp);

// What a VJOURNAL read from a file holds.
struct JournalReading {
    enum class Kind { Note, Undated, Empty, Bad } kind = Kind::Bad;
    JournalNote note; // for Note
    QString problem;  // for Bad, in the user's words
};

// Reads one VJOURNAL: its day from DTSTART (a date-time, with or without a time zone, gives its date as
// written), its rich text from X-ALT-DESC or STYLED-DESCRIPTION with FMTTYPE=text/html, its plain text
// from DESCRIPTION (else from the rich text, else SUMMARY). A day the calendar cannot show is Bad.
JournalReading ReadJournal(icalcomponent* journal);

// Fills `document` with the note of an entry: its rich text when that has visible text, else its plain
// text. Pictures and other resources that HTML may name are never loaded.
void FillDocument(const JournalNote& note, QTextDocument& document);

// Appends `from` to `to`: a paragraph holding `separator` (when it is not empty), then `from` with its
// formatting, each starting a paragraph of its own.
void AppendDocument(QTextDocument& to, const QTextDocument& from, const QString& separator);

// The entries `first` and `second` of one day as one note, `second` below `first` after the line
// `separator` (none when it is empty).
JournalNote JoinedNote(const JournalNote& first, const JournalNote& second, const QString& separator);

} // namespace quenda
