#include "DayNote.h"

#include "Dialogs.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QTextDocument>

namespace quenda {

QString DayKey(TDateTime date) {
    const CivilDate day = DecodeDate(date);
    return QStringLiteral("%1%2%3")
        .arg(day.year, 4, 10, QLatin1Char('0'))
        .arg(day.month, 2, 10, QLatin1Char('0'))
        .arg(day.day, 2, 10, QLatin1Char('0'));
}

bool LoadDayNote(TDM& dm, TDateTime date, QTextDocument& editor, QWidget* messageParent) {
    dm.CanSave = false;
    const std::optional<StoredNote> note = dm.ReadNote(DayKey(date));
    if (!note) {
        dm.NoteLoadFailed = true;
        ShowMessage(messageParent, QStringLiteral("加载记事内容失败！"));
        return false;
    }
    // The load is no edit the user could undo: switching the history off and on empties it.
    editor.setUndoRedoEnabled(false);
    if (note->found)
        readRtf(note->data, editor);
    else
        editor.clear();
    editor.setUndoRedoEnabled(true);
    dm.NoteLoadFailed = false;
    dm.CanSave = true;
    return true;
}

QString NotePlainText(const QByteArray& data) {
    QTextDocument document;
    readRtf(data, document);
    return documentPlainText(document);
}

SaveOutcome SaveDayNote(TDM& dm, TDateTime date, const QTextDocument& editor) {
    if (dm.NoteLoadFailed) return SaveOutcome::Skipped;
    return SaveDayNote(dm, date, editor, writeRtf(editor));
}

SaveOutcome SaveDayNote(TDM& dm, TDateTime date, const QTextDocument& editor, const QByteArray& rtf) {
    if (dm.NoteLoadFailed) return SaveOutcome::Skipped;
    dm.CanSave = false;
    const bool stored = dm.WriteNote(DayKey(date), rtf, documentPlainText(editor));
    dm.CanSave = true;
    return stored ? SaveOutcome::Stored : SaveOutcome::Failed;
}

QString LoadFailureReason(const TDM& dm) {
    const QString error = dm.LastError();
    if (error.contains(QLatin1String("locked")) || error.contains(QLatin1String("busy")))
        return QStringLiteral("记事库正被其他程序使用");
    if (error.contains(QLatin1String("no such table")) || error.contains(QLatin1String("no column")))
        return QStringLiteral("记事库里没有记事表");
    return QStringLiteral("记事库读不出来");
}

} // namespace quenda
