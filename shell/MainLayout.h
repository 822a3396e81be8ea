#pragma once
// Places the main window's controls as the form was designed, for a client area of 742 x 466 pixels, and
// moves or stretches each with the window by its anchors: a control anchored right keeps its distance to
// the right edge, one anchored left and right grows with the width; the same downwards.

#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

class QWidget;

namespace quenda {

enum Anchor { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
inline constexpr int AnchorTopLeft = AnchorLeft | AnchorTop;
inline constexpr int AnchorTopRight = AnchorRight | AnchorTop;
inline constexpr int AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

inline constexpr QSize kDesignClientSize(742, 466);

// Where a control designed at `design` goes in a client area of `client` pixels.
QRect AnchoredRect(QRect design, int anchors, QSize client);

class MainLayout {
public:
    void Add(QWidget* widget, QRect design, int anchors = AnchorTopLeft);
    void Add(std::function<void(QRect)> place, QRect design, int anchors);
    void Apply(QSize client) const;

private:
    struct Entry {
        std::function<void(QRect)> place;
        QRect design;
        int anchors;
    };
    std::vector<Entry> m_entries;
};

} // namespace quenda
