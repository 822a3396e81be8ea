#include "ChromeButton.h"

#include "Accessibility.h"
#include "Pictures.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>

namespace quenda {

namespace {

QLabel* makeLook(QWidget* parent, const QString& name, const QString& picture, QRect rect) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(WindowPicture(picture, parent->devicePixelRatioF()));
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setMouseTracking(true);
    label->setGeometry(rect);
    return label;
}

} // namespace

TChromeButton::TChromeButton(QWidget* parent, const QString& name, const QString& picture, QRect rect,
                             QRect activeRect)
    : QObject(parent),
      m_normal(makeLook(parent, name + QStringLiteral("_normal"), picture + QStringLiteral("_normal"), rect)),
      m_highlight(makeLook(parent, name + QStringLiteral("_highlight"),
                           picture + QStringLiteral("_highlight"), rect)),
      m_down(makeLook(parent, name + QStringLiteral("_down"), picture + QStringLiteral("_down"), rect)) {
    SetGeometry(rect, activeRect);
    for (QLabel* look : {m_normal, m_highlight, m_down})
        look->installEventFilter(this);
    ShowNormal();
}

void TChromeButton::Show(QLabel* look) {
    for (QLabel* each : {m_normal, m_highlight, m_down})
        each->setVisible(each == look);
    look->raise();
}

void TChromeButton::ShowNormal() {
    m_pressed = false;
    Show(m_normal);
}

void TChromeButton::ShowHighlight() {
    Show(m_highlight);
}

void TChromeButton::ShowDown() {
    Show(m_down);
}

void TChromeButton::SetGeometry(QRect rect, QRect activeRect) {
    if (activeRect.isNull()) activeRect = rect;
    m_normal->setGeometry(rect);
    m_highlight->setGeometry(activeRect);
    m_down->setGeometry(activeRect);
}

void TChromeButton::SetAccessibleName(const QString& name) {
    // Each look is the button while it shows; readers pass over the hidden ones.
    for (QLabel* look : {m_normal, m_highlight, m_down})
        MakePressable(*look, name, [this] {
            ShowNormal();
            emit clicked();
        });
}

bool TChromeButton::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == m_normal) ShowHighlight();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (watched == m_highlight) {
            m_pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            ShowDown();
            // The pressed look now hides the picture that took the press; the release must reach it.
            m_down->grabMouse();
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        Released(watched, event);
        break;
    case QEvent::Leave:
        // The buttons sit side by side at the window's edge: leaving one, for its neighbour or out of the
        // window, must not leave it lit. Qt tells the leave to the look that was under the pointer when it
        // last moved, often the normal one that a single move has just replaced, so any look's leave counts
        // once the pointer is outside the button.
        if (!m_pressed && watched != m_down && !PointerInside()) ShowNormal();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool TChromeButton::PointerInside() const {
    const QPoint pointer = m_normal->parentWidget()->mapFromGlobal(QCursor::pos());
    return m_normal->geometry().united(m_highlight->geometry()).contains(pointer);
}

// The release reaches the pressed look, which holds the mouse from the press on (or, sent by a test, the
// highlighted picture that took the press).
void TChromeButton::Released(QObject* watched, QEvent* event) {
    if (watched != m_highlight && watched != m_down) return;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool wasPressed = m_pressed && mouse->button() == Qt::LeftButton;
    const QWidget* target = static_cast<QWidget*>(watched);
    const bool inside = target->rect().contains(mouse->position().toPoint());
    if (QWidget::mouseGrabber() == m_down) m_down->releaseMouse();
    ShowNormal();
    if (wasPressed && inside) emit clicked();
}

} // namespace quenda
