#pragma once
// A day's note as the calendar server keeps it: one iCalendar VJOURNAL per day (the export's conversion),
// plus the stored RTF bytes in a property of our own, X-QUENDA-RTF, so our own copies come back exactly.
// Another client that edits the DESCRIPTION makes it differ from the RTF's text: the DESCRIPTION wins.

#include "DateTimeValue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quenda {

// What a resource on the server holds for the note.
struct ServerNote {
    QByteArray data; // the note's bytes as the store keeps them (RTF)
    QString plain;
};

// The iCalendar text of the note `data` (with its plain text `plain`) of the day `key`.
QByteArray NoteResource(const QString& key, const QByteArray& data, const QString& plain);

// The note a resource holds; nothing when it is no iCalendar text with a journal entry.
std::optional<ServerNote> ReadNoteResource(const QByteArray& resource);

// True when two notes' texts agree but for line-end spellings and trailing blanks.
bool SameText(const QString& first, const QString& second);

// A short fingerprint of a note's text that SameText texts share, to remember what both sides agreed on.
QString TextFingerprint(const QString& text);

// The separator line above our text in a merged note: "—— 本机的版本 2026-12-10 15:32 ——".
QString MergeSeparator(TDateTime now);

// The server's note, then the separator, then ours: both texts kept with their formatting, as RTF.
QByteArray MergeNotes(const QByteArray& server, const QByteArray& ours, TDateTime now);

} // namespace quenda
