#pragma once
// The small child widgets of the month calendar: a clickable label, a vertical spin button and the
// owner-drawn day grid.

#include "CalendarLayout.h"

#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace quenda {

// A transparent label that reports left clicks and context-menu requests with the pointer's screen position.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget* parent);
    // Two pixels below the text line keep the underline of "今天" inside the label.
    QSize sizeHint() const override { return QLabel::sizeHint() + QSize(0, 2); }
    // A press without the mouse (a screen reader's): a click at the lower left corner, where a menu belongs.
    void Press();

signals:
    void clicked(QPoint globalPos);
    void menuRequested(QPoint globalPos);
    void left();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// An up-down button pair without an edit field. An arrow click moves the position by one within the range
// and then reports the click; setting the position clamps it to the range. A held arrow repeats the step
// after the style's spin-box delay and then at its rate while the pointer stays on that arrow.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    TSpinButton(QWidget* parent, int minimum, int maximum);
    int Position() const { return m_position; }
    void SetPosition(int position);
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }
    QSize sizeHint() const override { return kSpinSize; }
    // One arrow click, as the mouse gives it.
    void Step(bool up);
    // Sets the position and reports it as a click of the arrow towards it: a screen reader sets the value.
    void StepTo(int position);

signals:
    void arrowClicked(bool up);
    void left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool IsUpperHalf(QPoint pos) const { return pos.y() < height() / 2; }
    void Repeat();
    void StopRepeat();

    int m_minimum;
    int m_maximum;
    int m_position;
    QTimer* m_repeatTimer;
    bool m_heldUp = false;        // the arrow the left button went down on
    bool m_pointerOnHeld = false; // the pointer is over that arrow: repeating, else paused
};

// What a screen reader hears of a grid cell: a day's full name, a title cell's text; a blank cell, nothing.
struct CellDescription {
    QString name;
    bool isDay = false; // a day of the month, which can be selected
};

// What the day grid asks of its owner.
class DayGridHost {
public:
    virtual ~DayGridHost() = default;
    // The selection rule: true when the proposed cell may become the selected cell.
    virtual bool CanSelectCell(int column, int row) = 0;
    // Composes one cell; the grid copies the result into its buffer.
    virtual const QImage& ComposeCell(int column, int row, const QRect& rect, bool selected,
                                      bool focused) = 0;
    virtual void GridPressed() = 0;                       // after the grid has handled a press
    virtual void GridLeft() = 0;                          // the pointer left the grid
    virtual void GridClicked() = 0;                       // a left press released on the selected cell
    virtual bool GridMenuRequested(QPoint globalPos) = 0; // false lets the request go to the control
    virtual CellDescription DescribeCell(int column, int row) = 0;
    virtual QString DescribeColumn(int column) = 0; // the week-day name of a column of days
};

// The 9 x 7 day grid. Its cells are composed into a buffer, at the screen's device pixel ratio, on a
// refresh; a plain repaint only copies it.
class TDayGrid : public QWidget {
    Q_OBJECT
public:
    TDayGrid(QWidget* parent, DayGridHost& host);

    const GridSizes& Sizes() const { return m_sizes; }
    void SetSizes(const GridSizes& sizes);
    void SetColumnZeroWidth(int width);
    GridCell Selected() const { return m_selected; }
    // Offers a cell to the selection rule; an accepted cell becomes the selected cell.
    bool ProposeCell(int column, int row);
    void RefreshAll();
    void RefreshCell(int column, int row);
    const QImage& Buffer() const { return m_buffer; }
    CellDescription DescribeCell(int column, int row) const;
    QString DescribeColumn(int column) const;
    // The owner calls this first thing in its destructor: focus and leave events still arrive while the
    // widget tree is torn down.
    void DetachHost() { m_host = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::optional<GridCell> KeyTarget(int key, bool ctrl) const;
    bool BufferIsCurrent() const;
    bool ComposeAll();

    DayGridHost* m_host;
    GridSizes m_sizes;
    GridCell m_selected{1, 1};
    QImage m_buffer;
    bool m_tracking = false; // a left press proposed a cell and the button is still down
};

} // namespace quenda
