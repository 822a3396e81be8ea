#include "CalendarWidgets.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace quenda {

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(false);
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(event->globalPosition().toPoint());
}

void TLinkLabel::contextMenuEvent(QContextMenuEvent* event) {
    emit menuRequested(event->globalPos());
}

void TLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit left();
}

TSpinButton::TSpinButton(QWidget* parent, int minimum, int maximum)
    : QWidget(parent), m_minimum(minimum), m_maximum(maximum), m_position(minimum) {
    resize(kSpinSize);
}

void TSpinButton::SetPosition(int position) {
    m_position = std::clamp(position, m_minimum, m_maximum);
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        painter.fillRect(halves[i].adjusted(0, 0, -1, -1), QColor(240, 240, 240));
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(halves[i].adjusted(0, 0, -1, -1));
        QStyleOption option;
        option.initFrom(this);
        option.rect = halves[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &option,
                               &painter, this);
    }
}

void TSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool up = event->position().y() < height() / 2;
    m_position = std::clamp(m_position + (up ? 1 : -1), m_minimum, m_maximum);
    emit arrowClicked(up);
}

void TSpinButton::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit left();
}

} // namespace quenda
