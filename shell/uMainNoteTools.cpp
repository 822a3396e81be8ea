// The note editor's popup menu and the four tools above it.
#include "uMain.h"

#include "Accessibility.h"
#include "CalendarLook.h"
#include "Clock.h"
#include "NoteCommands.h"
#include "NoteUndoSteps.h"
#include "Pictures.h"

#include <QMenu>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>

namespace quenda {

namespace {

QToolButton* MarkButton(QWidget* parent, const char* name, const QString& caption, const char* spoken,
                        int pixels) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    // What a screen reader says instead of the sign.
    button->setAccessibleName(QString::fromUtf8(spoken));
    button->setAutoRaise(true); // flat
    button->setFocusPolicy(Qt::NoFocus);
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(pixels);
    font.setWeight(QFont::Black);
    button->setFont(font);
    return button;
}

} // namespace

void TMainFrm::CreateNoteTools() {
    QToolButton* tick = MarkButton(this, "btnGou", QString(kTick), "打勾", 14);
    QToolButton* cross = MarkButton(this, "btnX", QStringLiteral("X"), "打叉", 12);
    m_layout.Add(tick, QRect(341, 55, 23, 22));
    m_layout.Add(cross, QRect(365, 55, 23, 22));
    connect(tick, &QToolButton::clicked, this, &TMainFrm::btnGouClick);
    connect(cross, &QToolButton::clicked, this, &TMainFrm::btnXClick);

    const struct {
        const char* name;
        const char* picture;
        const char* tooltip;
        QRect rect;
        void (TMainFrm::*handler)();
    } pictures[] = {
        {"imgDate", "tool_date", "插入日期", {395, 58, 44, 15}, &TMainFrm::imgDateClick},
        {"imgRedColor", "tool_colour", "字体颜色", {441, 61, 20, 11}, &TMainFrm::imgRedColorClick}};
    for (const auto& entry : pictures) {
        auto* picture = new TLinkLabel(this);
        picture->setObjectName(QString::fromLatin1(entry.name));
        picture->setPixmap(WindowPicture(QString::fromLatin1(entry.picture), devicePixelRatioF()));
        picture->setScaledContents(true);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setToolTip(QString::fromUtf8(entry.tooltip));
        picture->setFocusPolicy(Qt::NoFocus);
        MakePressable(*picture, picture->toolTip(), [picture] { picture->Press(); });
        m_layout.Add(picture, entry.rect);
        connect(picture, &TLinkLabel::clicked, this, entry.handler);
    }
}

void TMainFrm::CreateNoteMenu() {
    m_pmDeskTopMonCal = new QMenu(this);
    m_pmDeskTopMonCal->setObjectName(QStringLiteral("pmDeskTopMonCal"));
    const struct {
        const char* name;
        const char* caption; // empty: a separator
        void (TMainFrm::*handler)();
    } items[] = {{"N1", "复制", &TMainFrm::N1Click},
                 {"N2", "粘贴", &TMainFrm::N2Click},
                 {"N9", "删除", &TMainFrm::N9Click},
                 {"N3", "剪切", &TMainFrm::N3Click},
                 {"N6", "", nullptr},
                 {"V1", "打V", &TMainFrm::V1Click},
                 {"X1", "打X", &TMainFrm::X1Click},
                 {"N5", "", nullptr},
                 {"CtrlZ1", "撤销(Ctrl+Z)", &TMainFrm::CtrlZ1Click},
                 {"CtrlY1", "重做(Ctrl+Y)", &TMainFrm::CtrlY1Click}};
    for (const auto& item : items) {
        QAction* action = item.handler ? m_pmDeskTopMonCal->addAction(QString::fromUtf8(item.caption))
                                       : m_pmDeskTopMonCal->addSeparator();
        action->setObjectName(QString::fromLatin1(item.name));
        if (item.handler) connect(action, &QAction::triggered, this, item.handler);
    }
    // The editor redoes on Ctrl+Shift+Z by itself; Ctrl+Y, the other common key, is the menu's caption.
    auto* redoKey =
        new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), m_rdtAbc, nullptr, nullptr, Qt::WidgetShortcut);
    redoKey->setObjectName(QStringLiteral("redoKey"));
    connect(redoKey, &QShortcut::activated, this, &TMainFrm::CtrlY1Click);
    m_rdtAbc->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_rdtAbc, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { m_pmDeskTopMonCal->popup(m_rdtAbc->viewport()->mapToGlobal(at)); });
}

// Each command is one undo step of its own, apart from the typing around it.
void TMainFrm::btnGouClick() {
    m_undoSteps->Separately([this] { InsertAtCaret(*m_rdtAbc, QString(kTick)); });
}

void TMainFrm::btnXClick() {
    m_undoSteps->Separately([this] { InsertAtCaret(*m_rdtAbc, QString(kCross)); });
}

void TMainFrm::imgDateClick() {
    m_undoSteps->Separately([this] { InsertAtCaret(*m_rdtAbc, InsertedDateText(Clock::Now())); });
}

void TMainFrm::imgRedColorClick() {
    m_undoSteps->Separately([this] { ColourSelection(*m_rdtAbc, this); });
}

void TMainFrm::N1Click() {
    m_rdtAbc->copy();
}

void TMainFrm::N2Click() {
    m_undoSteps->Separately([this] { m_rdtAbc->paste(); });
}

void TMainFrm::N9Click() {
    m_undoSteps->Separately([this] {
        QTextCursor cursor = m_rdtAbc->textCursor();
        cursor.removeSelectedText();
        m_rdtAbc->setTextCursor(cursor);
    });
}

void TMainFrm::N3Click() {
    m_undoSteps->Separately([this] { m_rdtAbc->cut(); });
}

void TMainFrm::V1Click() {
    btnGouClick();
}

void TMainFrm::X1Click() {
    btnXClick();
}

void TMainFrm::CtrlZ1Click() {
    m_undoSteps->Separately([this] { m_rdtAbc->undo(); });
}

void TMainFrm::CtrlY1Click() {
    m_undoSteps->Separately([this] { m_rdtAbc->redo(); });
}

} // namespace quenda
