#include "NoteCommands.h"

#include "Dialogs.h"

#include <QTextCursor>
#include <QTextEdit>

namespace quenda {

void InsertAtCaret(QTextEdit& editor, const QString& text) {
    QTextCursor cursor = editor.textCursor();
    cursor.insertText(text); // replaces the selection; takes the format of the character before the caret
    editor.setTextCursor(cursor);
}

QString InsertedDateText(TDateTime now) {
    static const char16_t* const kWeekdays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    const CivilDate day = DecodeDate(now);
    return QStringLiteral(" %1.%2.%3 (%4)")
        .arg(day.year, 4, 10, QLatin1Char('0'))
        .arg(day.month, 2, 10, QLatin1Char('0'))
        .arg(day.day, 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf16(kWeekdays[DayOfWeek(now) - 1]));
}

void ColourSelection(QTextEdit& editor, QWidget* dialogParent) {
    if (!editor.hasFocus()) return;
    const std::optional<QColor> chosen = AskColor(dialogParent, editor.textColor());
    if (!chosen) return;
    editor.setTextColor(*chosen);
}

} // namespace quenda
