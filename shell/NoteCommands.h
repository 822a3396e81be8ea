#pragma once
// The commands of the note editor's menu and tools: the tick and cross marks, today's date, the text
// colour. Each works on the editor like typing does, so its change reaches the store the same way.

#include "DateTimeValue.h"

#include <QString>

class QTextEdit;
class QWidget;

namespace quenda {

inline constexpr char16_t kTick = u'√';  // U+221A, GBK A1 CC
inline constexpr char16_t kCross = u'×'; // U+00D7, GBK A1 C1

// Replaces the selection with `text`, or inserts it at the caret, in the formatting at that place; the
// caret ends behind it.
void InsertAtCaret(QTextEdit& editor, const QString& text);

// " 2013.01.02 (三)": a blank, the date with points, a blank and the weekday in brackets.
QString InsertedDateText(TDateTime now);

// Asks for a colour (the colour dialog) and gives it to the selection, or to what is typed next at the
// caret; nothing happens while the editor does not have the focus or when the user cancels.
void ColourSelection(QTextEdit& editor, QWidget* dialogParent);

} // namespace quenda
