#include "MainLayout.h"

#include <QWidget>

namespace quenda {

namespace {

// One axis: the start moves with the far edge unless anchored at the near one; the length grows when
// anchored at both.
void placeAxis(int& start, int& length, bool nearAnchor, bool farAnchor, int growth) {
    if (nearAnchor && farAnchor)
        length += growth;
    else if (farAnchor)
        start += growth;
}

} // namespace

QRect AnchoredRect(QRect design, int anchors, QSize client) {
    int left = design.left(), width = design.width(), top = design.top(), height = design.height();
    placeAxis(left, width, anchors & AnchorLeft, anchors & AnchorRight,
              client.width() - kDesignClientSize.width());
    placeAxis(top, height, anchors & AnchorTop, anchors & AnchorBottom,
              client.height() - kDesignClientSize.height());
    return QRect(left, top, width, height);
}

void MainLayout::Add(QWidget* widget, QRect design, int anchors) {
    Add([widget](QRect rect) { widget->setGeometry(rect); }, design, anchors);
}

void MainLayout::Add(std::function<void(QRect)> place, QRect design, int anchors) {
    m_entries.push_back({std::move(place), design, anchors});
}

void MainLayout::Apply(QSize client) const {
    for (const Entry& entry : m_entries)
        entry.place(AnchoredRect(entry.design, entry.anchors, client));
}

} // namespace quenda
