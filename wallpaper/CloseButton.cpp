#include "CloseButton.h"

#include "Pictures.h"

#include <QLabel>
#include <QMouseEvent>

namespace quenda {

namespace {

QLabel* makeLook(QWidget* window, QPoint topLeft, const char* name, const char* picture) {
    auto* label = new QLabel(window);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(WindowPicture(QLatin1String(picture), window->devicePixelRatioF()));
    label->setGeometry(topLeft.x(), topLeft.y(), 39, 20);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setMouseTracking(true);
    return label;
}

} // namespace

CloseButton::CloseButton(QWidget* window, QPoint topLeft)
    : QObject(window), m_normal(makeLook(window, topLeft, "img_close_normal", "close_normal")),
      m_highlight(makeLook(window, topLeft, "img_close_highlight", "close_highlight")),
      m_down(makeLook(window, topLeft, "img_close_down", "close_down")) {
    for (QLabel* look : {m_normal, m_highlight, m_down})
        look->installEventFilter(this);
    ShowNormal();
}

void CloseButton::ShowNormal() {
    show(m_normal);
}

void CloseButton::show(QLabel* look) {
    for (QLabel* each : {m_normal, m_highlight, m_down})
        each->setVisible(each == look);
    look->raise();
}

bool CloseButton::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched == m_normal) {
        show(m_highlight);
    } else if (event->type() == QEvent::MouseButtonPress && watched == m_highlight) {
        show(m_down);
        return true;
    } else if (event->type() == QEvent::MouseButtonRelease && (watched == m_highlight || watched == m_down)) {
        // The release reaches the picture that took the press, or the pressed look that took its place.
        const auto* release = static_cast<QMouseEvent*>(event);
        const bool inside = static_cast<QWidget*>(watched)->rect().contains(release->position().toPoint());
        ShowNormal();
        if (inside && release->button() == Qt::LeftButton) emit clicked();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quenda
