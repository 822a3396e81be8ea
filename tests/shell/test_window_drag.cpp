// The bounds a drag on the borderless window's background or edges gives, when the window follows the
// pointer itself.
#include "WindowDrag.h"

#include <gtest/gtest.h>

using namespace quenda;

namespace {

struct DragCase {
    const char* name;
    Qt::Edges edges;
    QPoint delta;
    QRect expected;
};

} // namespace

TEST(WindowDrag, MovesOrPullsTheHeldEdgesAndStopsThemAtTheMinimumSize) {
    const QRect start(100, 50, 800, 600);
    const QSize minimum(750, 500);
    const DragCase cases[] = {
        {"background", {}, {-30, 20}, {70, 70, 800, 600}},
        {"right edge outwards", Qt::RightEdge, {40, 9}, {100, 50, 840, 600}},
        {"bottom edge inwards", Qt::BottomEdge, {0, -70}, {100, 50, 800, 530}},
        {"left edge inwards beyond the minimum", Qt::LeftEdge, {80, 0}, {150, 50, 750, 600}},
        {"top-left corner outwards", Qt::LeftEdge | Qt::TopEdge, {-10, -20}, {90, 30, 810, 620}},
        {"bottom-right corner inwards beyond the minimum", Qt::RightEdge | Qt::BottomEdge, {-90, -150},
         {100, 50, 750, 500}},
    };
    for (const DragCase& c : cases)
        EXPECT_EQ(DraggedBounds(start, c.edges, c.delta, minimum), c.expected) << c.name;
}
