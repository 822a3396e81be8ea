#include "WindowDrag.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace quenda {

namespace {

// True when the window manager took the drag over: it moves or resizes the window until the release.
bool AskWindowManager(QWidget& widget, Qt::Edges edges) {
    QWindow* window = widget.windowHandle();
    if (!window) return false;
    return edges ? window->startSystemResize(edges) : window->startSystemMove();
}

// Qt's move request to an X11 window manager names the left button, whichever is held: the window manager
// would end the move only at the next left release. Elsewhere a move for another button is the platform's
// to take or refuse.
bool RequestNamesTheLeftButton() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

Qt::Edges EdgesAt(QPoint pos, QSize size) {
    Qt::Edges edges;
    if (pos.x() < kResizeBand) edges |= Qt::LeftEdge;
    if (pos.x() >= size.width() - kResizeBand) edges |= Qt::RightEdge;
    if (pos.y() < kResizeBand) edges |= Qt::TopEdge;
    if (pos.y() >= size.height() - kResizeBand) edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape CursorFor(Qt::Edges edges) {
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical)
        return (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
                   ? Qt::SizeFDiagCursor
                   : Qt::SizeBDiagCursor;
    if (horizontal) return Qt::SizeHorCursor;
    if (vertical) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

QRect DraggedBounds(QRect start, Qt::Edges edges, QPoint delta, QSize minimum) {
    if (!edges) return start.translated(delta);
    // Sides as QRect's exclusive right and bottom, so that width = right - left.
    int left = start.left(), top = start.top();
    int right = left + start.width(), bottom = top + start.height();
    if (edges & Qt::LeftEdge) left = std::min(left + delta.x(), right - minimum.width());
    if (edges & Qt::RightEdge) right = std::max(right + delta.x(), left + minimum.width());
    if (edges & Qt::TopEdge) top = std::min(top + delta.y(), bottom - minimum.height());
    if (edges & Qt::BottomEdge) bottom = std::max(bottom + delta.y(), top + minimum.height());
    return QRect(left, top, right - left, bottom - top);
}

void WindowDrag::Press(const QMouseEvent& event, QPoint local) {
    m_button = Qt::NoButton;
    const bool left = event.button() == Qt::LeftButton;
    const Qt::Edges edges = left && m_resizable ? EdgesAt(local, m_window.size()) : Qt::Edges();
    if ((left || !RequestNamesTheLeftButton()) && AskWindowManager(m_window, edges)) return;
    m_button = event.button();
    m_edges = edges;
    m_pressedAt = event.globalPosition().toPoint();
    m_startBounds = m_window.geometry();
}

bool WindowDrag::Move(const QMouseEvent& event) {
    if (!Following()) return false;
    if (!(event.buttons() & m_button)) { // the release went elsewhere (a popup, another program's grab)
        m_button = Qt::NoButton;
        return false;
    }
    // Measured on the screen from the press: the window's own movement does not feed back into it.
    const QRect bounds = DraggedBounds(m_startBounds, m_edges, event.globalPosition().toPoint() - m_pressedAt,
                                       m_window.minimumSize());
    if (m_edges)
        m_window.setGeometry(bounds);
    else
        m_window.move(bounds.topLeft());
    return true;
}

void WindowDrag::Release(const QMouseEvent& event) {
    if (event.button() == m_button) m_button = Qt::NoButton;
}

bool WindowDrag::Handle(const QEvent& event, QPoint local) {
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        Press(mouse, local);
        return true;
    case QEvent::MouseMove:
        return Move(mouse);
    case QEvent::MouseButtonRelease:
        Release(mouse);
        return false;
    default:
        return false;
    }
}

} // namespace quenda
