#pragma once
// Loading and storing the note of the calendar's day: the key, the RTF content with its plain-text
// fallback, and the CanSave rules that keep a load from writing itself back.

#include "DateTimeValue.h"

#include <QByteArray>
#include <QString>

class QTextDocument;
class QWidget;

namespace quenda {

class TDM;

// The day's key: the date as eight digits YYYYMMDD, for example 20130102.
QString DayKey(TDateTime date);

// Loads the note of `date` into `editor`: RTF as stored, other bytes as plain text, no row as an empty
// editor, and a fresh undo history. On failure shows "加载记事内容失败！", leaves the editor as it is and
// keeps CanSave false. True when the load succeeded.
bool LoadDayNote(TDM& dm, TDateTime date, QTextDocument& editor, QWidget* messageParent = nullptr);

enum class SaveOutcome {
    Stored,
    Unchanged, // the note is what was loaded or stored last: nothing was written
    Skipped,   // a failed load left the editor holding another day's note: nothing may be stored
    Failed,    // the store kept what it had; the next save tries again
};

// The plain text of stored note bytes: RTF as the editor reads it, other bytes as plain text.
QString NotePlainText(const QByteArray& data);

// Stores the whole editor as RTF under `date`. Reports nothing to the user.
SaveOutcome SaveDayNote(TDM& dm, TDateTime date, const QTextDocument& editor);
// The same with the editor's RTF written already (`rtf` is writeRtf(editor)).
SaveOutcome SaveDayNote(TDM& dm, TDateTime date, const QTextDocument& editor, const QByteArray& rtf);

// Why the last load failed, in a few words for the user ("记事库正被其他程序使用").
QString LoadFailureReason(const TDM& dm);

} // namespace quenda
