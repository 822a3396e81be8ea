#include "NoteUndoSteps.h"

#include "Clock.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextEdit>

namespace quenda {

namespace {

constexpr double kSecondsPerDay = 86400.0;

bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// Blanks and punctuation end a word: they stay with the word before them.
bool isSeparator(QChar c) {
    return c.isSpace() || c.isPunct() || c.isSymbol();
}

} // namespace

NoteUndoSteps::NoteUndoSteps(QTextEdit& editor)
    : QObject(&editor), m_editor(editor), m_viewport(editor.viewport()) {
    setObjectName(QStringLiteral("noteUndoSteps"));
    editor.installEventFilter(this);
    m_viewport->installEventFilter(this); // the mouse: a click, a middle-button paste, a drop
}

// QTextDocument merges a new edit into the step before it only while the document counts as modified;
// marking it unmodified (a flag nothing else in the program reads) therefore ends the step.
void NoteUndoSteps::CloseStep() {
    m_editor.document()->setModified(false);
    m_run = Run::None;
    m_afterSeparator = false;
}

bool NoteUndoSteps::eventFilter(QObject* watched, QEvent* event) {
    // The viewport outlives the editor's own destructor: nothing of the editor may be asked here first.
    if (watched == m_viewport) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Drop) CloseStep();
        return false;
    }
    if (watched != &m_editor) return false;
    if (event->type() == QEvent::KeyPress) {
        beforeKey(*static_cast<const QKeyEvent*>(event));
    } else if (event->type() == QEvent::InputMethod) {
        // A commit is a word or phrase of its own; a changing preedit edits nothing.
        const auto& input = *static_cast<const QInputMethodEvent*>(event);
        if (!input.commitString().isEmpty() || input.replacementLength() > 0) CloseStep();
    }
    return false;
}

void NoteUndoSteps::beforeKey(const QKeyEvent& key) {
    if (isModifierKey(key.key())) return;
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete)
        return continueRun(Run::Deleting, false);
    const QString text = key.text();
    // What the editor types: printable characters and the tab, as QTextEdit itself decides.
    if (!text.isEmpty() && (text.front().isPrint() || text.front() == QLatin1Char('\t'))) {
        continueRun(Run::Typing, m_afterSeparator && !isSeparator(text.front()));
        m_afterSeparator = isSeparator(text.back());
        return;
    }
    // A line break, undo, redo, paste, cut or a move of the caret: whatever comes next begins anew.
    CloseStep();
}

void NoteUndoSteps::continueRun(Run run, bool startsWord) {
    const TDateTime now = Clock::Now();
    const bool paused = (now - m_lastEdit) * kSecondsPerDay >= kUndoPauseSeconds;
    if (run != m_run || paused || startsWord) CloseStep();
    m_run = run;
    m_lastEdit = now;
}

} // namespace quenda
