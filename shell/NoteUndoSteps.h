#pragma once
// The note editor's undo steps. QTextDocument merges every typed character into the step before it, so
// one undo would take back everything typed since the note was shown. This cuts the history where a
// user expects it: a run of typed (or deleted) characters ends at a pause, at the start of a new word
// and at a line break; each input-method commit and each tool or menu command is a step of its own.

#include "DateTimeValue.h"

#include <QObject>

class QInputMethodEvent;
class QKeyEvent;
class QTextEdit;

namespace quenda {

// Typing that pauses this long starts a new step.
inline constexpr double kUndoPauseSeconds = 1.0;

class NoteUndoSteps : public QObject {
public:
    // Watches `editor`'s keys, input-method commits and mouse presses; the editor owns it.
    explicit NoteUndoSteps(QTextEdit& editor);

    // Ends the step being typed, so the next edit begins a new one.
    void CloseStep();

    // Runs `edit` (a tool's insertion, a menu command) as one step of its own.
    template <typename Edit> void Separately(Edit&& edit) {
        CloseStep();
        edit();
        CloseStep();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Run { None, Typing, Deleting };
    void beforeKey(const QKeyEvent& key);
    void continueRun(Run run, bool startsWord);

    QTextEdit& m_editor;
    QObject* m_viewport;
    Run m_run = Run::None;
    bool m_afterSeparator = false; // the last typed character ended a word
    TDateTime m_lastEdit = 0;
};

} // namespace quenda
