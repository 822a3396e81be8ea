#pragma once
// What screen readers need from widgets Qt cannot describe by itself: pictures and labels that work as
// buttons, and pictures that only decorate. Qt finds these descriptions through an accessibility factory
// that the first call installs.

#include <QAccessible>
#include <QString>

#include <functional>

class QWidget;

namespace quenda {

// Tells screen readers that `widget` is a control of `role` (a button, or a button that opens a menu) named
// `name`, whose press action runs `press`. Later names go through QWidget::setAccessibleName. The press runs
// from the event loop after the reader's call has returned, so a modal window it opens does not keep the
// reader waiting for an answer.
void MakePressable(QWidget& widget, const QString& name, std::function<void()> press,
                   QAccessible::Role role = QAccessible::Button);

// Tells screen readers that `widget` plays `role`: a borderless top-level widget is a window
// (QAccessible::Window), a picture that only decorates is a filler they pass over (MarkDecorative).
void SetAccessibleRole(QWidget& widget, QAccessible::Role role);
inline void MarkDecorative(QWidget& widget) {
    SetAccessibleRole(widget, QAccessible::Client);
}

} // namespace quenda
