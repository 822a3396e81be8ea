#include "CalendarWidgets.h"

#include "CalendarAccessible.h"
#include "CalendarPainting.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quenda {

TDayGrid::TDayGrid(QWidget* parent, DayGridHost& host) : QWidget(parent), m_host(&host) {
    setObjectName(QStringLiteral("DayGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDayGrid::SetSizes(const GridSizes& sizes) {
    m_sizes = sizes;
}

void TDayGrid::SetColumnZeroWidth(int width) {
    m_sizes.columnWidths[0] = width;
}

bool TDayGrid::ProposeCell(int column, int row) {
    if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows) return false;
    if (m_host == nullptr || !m_host->CanSelectCell(column, row)) return false;
    const GridCell old = m_selected;
    m_selected = {column, row};
    RefreshCell(old.column, old.row);
    RefreshCell(column, row);
    NotifyDayFocus(*this);
    return true;
}

void TDayGrid::RefreshAll() {
    if (ComposeAll()) update();
    NotifyDayNames(*this); // the grid is composed afresh when its days change
}

CellDescription TDayGrid::DescribeCell(int column, int row) const {
    return m_host != nullptr ? m_host->DescribeCell(column, row) : CellDescription{};
}

QString TDayGrid::DescribeColumn(int column) const {
    return m_host != nullptr ? m_host->DescribeColumn(column) : QString();
}

bool TDayGrid::BufferIsCurrent() const {
    return BufferFits(m_buffer, size(), devicePixelRatioF());
}

// Composes every cell into a buffer of the grid's size at the screen's pixel ratio.
bool TDayGrid::ComposeAll() {
    if (m_host == nullptr || size().isEmpty()) return false;
    if (!BufferIsCurrent()) m_buffer = MakeBuffer(size(), devicePixelRatioF());
    m_buffer.fill(Qt::white);
    QPainter painter(&m_buffer);
    for (int row = 0; row < kGridRows; ++row)
        for (int column = 0; column < kGridColumns; ++column) {
            const QRect rect = CellRect(m_sizes, column, row);
            if (rect.isEmpty()) continue; // a grid too small for its cells: nothing to show
            const bool selected = m_selected == GridCell{column, row};
            painter.drawImage(rect.topLeft(), m_host->ComposeCell(column, row, rect, selected, hasFocus()));
        }
    return true;
}

void TDayGrid::RefreshCell(int column, int row) {
    if (m_host == nullptr) return;
    if (!BufferIsCurrent()) return RefreshAll();
    const QRect rect = CellRect(m_sizes, column, row);
    if (rect.isEmpty()) return;
    const bool selected = m_selected == GridCell{column, row};
    QPainter painter(&m_buffer);
    painter.drawImage(rect.topLeft(), m_host->ComposeCell(column, row, rect, selected, hasFocus()));
    painter.end();
    update(rect);
}

// A plain repaint only copies the buffer. A buffer of another size or pixel ratio (a resize whose event
// came late, as for a hidden widget, or a move to another screen) is composed afresh first: dropping it
// would paint the grid black.
void TDayGrid::paintEvent(QPaintEvent* event) {
    if (!BufferIsCurrent()) ComposeAll();
    QPainter painter(this);
    DrawBufferPart(painter, event->rect().topLeft(), m_buffer, event->rect());
}

void TDayGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        m_tracking = true;
        if (const auto cell = CellAt(m_sizes, event->position().toPoint()))
            ProposeCell(cell->column, cell->row);
    }
    if (m_host != nullptr) m_host->GridPressed();
}

// The second press of a double click proposes nothing.
void TDayGrid::mouseDoubleClickEvent(QMouseEvent*) {
    setFocus(Qt::MouseFocusReason);
    m_tracking = false; // neither a drag nor a click follows it
    if (m_host != nullptr) m_host->GridPressed();
}

void TDayGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking || !(event->buttons() & Qt::LeftButton)) return;
    const auto cell = CellAt(m_sizes, event->position().toPoint());
    if (cell && !(*cell == m_selected)) ProposeCell(cell->column, cell->row);
}

void TDayGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_tracking) return;
    m_tracking = false;
    const auto cell = CellAt(m_sizes, event->position().toPoint());
    if (cell && *cell == m_selected && m_host != nullptr) m_host->GridClicked();
}

std::optional<GridCell> TDayGrid::KeyTarget(int key, bool ctrl) const {
    const GridCell at = m_selected;
    switch (key) {
    case Qt::Key_Left:
        return ctrl ? GridCell{0, at.row} : GridCell{at.column - 1, at.row};
    case Qt::Key_Right:
        return ctrl ? GridCell{kGridColumns - 1, at.row} : GridCell{at.column + 1, at.row};
    case Qt::Key_Up:
        return ctrl ? std::nullopt : std::optional(GridCell{at.column, at.row - 1});
    case Qt::Key_Down:
        return ctrl ? std::nullopt : std::optional(GridCell{at.column, at.row + 1});
    case Qt::Key_PageDown:
        return GridCell{at.column, kGridRows - 1};
    case Qt::Key_PageUp:
        return GridCell{at.column, 0};
    case Qt::Key_Home:
        return ctrl ? GridCell{at.column, 0} : GridCell{0, at.row};
    case Qt::Key_End:
        return ctrl ? GridCell{at.column, 0} : GridCell{kGridColumns - 1, at.row};
    default:
        return std::nullopt;
    }
}

void TDayGrid::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const auto target = KeyTarget(event->key(), ctrl);
    if (!target && event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)
        return QWidget::keyPressEvent(event);
    if (target) ProposeCell(target->column, target->row);
}

void TDayGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    RefreshCell(m_selected.column, m_selected.row); // the highlight may follow the focus
    // Qt reports the grid itself as focused once this returns; the selected day is reported after that.
    QMetaObject::invokeMethod(
        this, [this] { NotifyDayFocus(*this); }, Qt::QueuedConnection);
}

void TDayGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    RefreshCell(m_selected.column, m_selected.row);
}

void TDayGrid::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (m_host != nullptr) m_host->GridLeft();
}

void TDayGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (m_host == nullptr || !m_host->GridMenuRequested(event->globalPos())) event->ignore();
}

} // namespace quenda
