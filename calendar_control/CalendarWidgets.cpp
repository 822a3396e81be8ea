#include "CalendarWidgets.h"

#include "CalendarPainting.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
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

void TLinkLabel::Press() {
    emit clicked(mapToGlobal(QPoint(0, height())));
}

void TLinkLabel::contextMenuEvent(QContextMenuEvent* event) {
    emit menuRequested(event->globalPos());
}

void TLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit left();
}

TSpinButton::TSpinButton(QWidget* parent, int minimum, int maximum)
    : QWidget(parent), m_minimum(minimum), m_maximum(maximum), m_position(minimum),
      m_repeatTimer(new QTimer(this)) {
    resize(kSpinSize);
    m_repeatTimer->setObjectName(QStringLiteral("RepeatTimer"));
    connect(m_repeatTimer, &QTimer::timeout, this, &TSpinButton::Repeat);
}

void TSpinButton::SetPosition(int position) {
    const int old = m_position;
    m_position = std::clamp(position, m_minimum, m_maximum);
    if (m_position == old || !QAccessible::isActive()) return;
    QAccessibleValueChangeEvent event(this, m_position);
    QAccessible::updateAccessibility(&event);
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        painter.fillRect(halves[i], QColor(240, 240, 240));
        DrawFrame(painter, halves[i], QColor(160, 160, 160));
        QStyleOption option;
        option.initFrom(this);
        option.rect = halves[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &option,
                               &painter, this);
    }
}

void TSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_heldUp = IsUpperHalf(event->position().toPoint());
    m_pointerOnHeld = true;
    // The platform's up-down control waits as long as a spin box before it repeats, then repeats as fast.
    m_repeatTimer->start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this));
    Step(m_heldUp);
}

void TSpinButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_pointerOnHeld = rect().contains(pos) && IsUpperHalf(pos) == m_heldUp;
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) StopRepeat();
}

void TSpinButton::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    StopRepeat(); // a hidden button gets no release
}

void TSpinButton::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit left();
}

void TSpinButton::Step(bool up) {
    SetPosition(m_position + (up ? 1 : -1));
    emit arrowClicked(up);
}

void TSpinButton::StepTo(int position) {
    const int old = m_position;
    SetPosition(position);
    emit arrowClicked(m_position > old);
}

void TSpinButton::Repeat() {
    m_repeatTimer->setInterval(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this));
    if (m_pointerOnHeld) Step(m_heldUp);
}

void TSpinButton::StopRepeat() {
    m_repeatTimer->stop();
    m_pointerOnHeld = false;
}

} // namespace quenda
