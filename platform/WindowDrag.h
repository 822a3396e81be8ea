#pragma once
// Moving and resizing a borderless window by its background. A press asks the window manager to do it
// (startSystemMove, or for the left button within a band along the edges startSystemResize). Where the
// platform refuses (no window manager, one without the request, Windows for another button than the
// left), the window follows the pointer itself until the pressing button is released. So it does for any
// other button than the left on X11, whose request names the left button: a right-button drag handed to
// the window manager would go on until the next left click.

#include <QPoint>
#include <QRect>
#include <QSize>

class QEvent;
class QMouseEvent;
class QWidget;

namespace quenda {

// The band along the edges, in pixels, in which a left press resizes instead of moving.
inline constexpr int kResizeBand = 5;

// The edges a press at `pos` (window coordinates) takes hold of in a window of `size`.
Qt::Edges EdgesAt(QPoint pos, QSize size);

// The pointer's shape over `edges`: the arrow over none.
Qt::CursorShape CursorFor(Qt::Edges edges);

// The bounds of a window that was at `start` when a press took hold of `edges` (none: the whole window)
// and the pointer has since gone `delta` further. A held edge stops where the window would become smaller
// than `minimum`; the opposite edge stays.
QRect DraggedBounds(QRect start, Qt::Edges edges, QPoint delta, QSize minimum);

class WindowDrag {
public:
    // A window that is not `resizable` only moves, whatever the press is near.
    explicit WindowDrag(QWidget& window, bool resizable = true) : m_window(window), m_resizable(resizable) {}

    // A press at `local` (window coordinates): hands the drag to the window manager or starts following.
    void Press(const QMouseEvent& event, QPoint local);
    // A pointer move during the press; true when the window follows it itself.
    bool Move(const QMouseEvent& event);
    // The release of the pressing button ends the drag.
    void Release(const QMouseEvent& event);

    bool Following() const { return m_button != Qt::NoButton; }

    // Press, Move and Release for the mouse events of the window's background; true when it took the event.
    bool Handle(const QEvent& event, QPoint local = {}); // `local` matters only to a resizable window

private:
    QWidget& m_window;
    bool m_resizable;
    Qt::MouseButton m_button = Qt::NoButton; // the button the window follows, none when it does not
    Qt::Edges m_edges;
    QPoint m_pressedAt; // on the screen
    QRect m_startBounds;
};

} // namespace quenda
