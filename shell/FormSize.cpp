#include "FormSize.h"

#include "LineListFile.h"

namespace quenda {

namespace {

constexpr int kDefaultWidth = 750;
constexpr int kDefaultHeight = 500;
constexpr int kTaskbarAllowance = 30;      // taken from the screen height before halving
constexpr int kLargestSide = 16384;        // no screen is larger; a window system refuses windows far larger
constexpr int kFarthestPosition = 1 << 20; // beyond any desktop; keeps every edge of the window an int

// Bounds no window can have: larger than any screen (either way) or placed beyond any desktop. Judged on
// the numbers as read, before they make a rectangle whose edges would not fit in an int.
bool beyond(int value, int limit) {
    return value < -limit || value > limit;
}
bool impossibleSize(int width, int height) {
    return beyond(width, kLargestSide) || beyond(height, kLargestSide);
}
bool impossiblePosition(int left, int top) {
    return beyond(left, kFarthestPosition) || beyond(top, kFarthestPosition);
}

bool visibleOnAnyScreen(const QRect& bounds, const QList<QRect>& screens) {
    for (const QRect& screen : screens)
        if (screen.intersects(bounds)) return true;
    return false;
}

} // namespace

FormSize DefaultFormSize(QSize primaryScreen) {
    FormSize size;
    size.CurPage = 1;
    size.bounds = QRect((primaryScreen.width() - kDefaultWidth) / 2,
                        (primaryScreen.height() - kDefaultHeight - kTaskbarAllowance) / 2, kDefaultWidth,
                        kDefaultHeight);
    return size;
}

bool IsCompleteFormSize(const QStringList& lines) {
    for (int line = 0; line < 5; ++line)
        if (!LineAsInt(lines, line)) return false;
    return true;
}

FormSize ChooseFormSize(const QStringList* lines, QSize primaryScreen, const QList<QRect>& screens,
                        bool positionsApply) {
    const FormSize defaults = DefaultFormSize(primaryScreen);
    if (!lines || !IsCompleteFormSize(*lines)) return defaults;
    FormSize size;
    size.CurPage = *LineAsInt(*lines, 0);
    const int left = *LineAsInt(*lines, 3), top = *LineAsInt(*lines, 4);
    const int width = *LineAsInt(*lines, 1), height = *LineAsInt(*lines, 2);
    if (!positionsApply) {
        size.bounds = QRect(impossiblePosition(left, top) ? defaults.bounds.topLeft() : QPoint(left, top),
                            impossibleSize(width, height) ? defaults.bounds.size() : QSize(width, height));
        return size;
    }
    if (impossibleSize(width, height) || impossiblePosition(left, top)) {
        size.bounds = defaults.bounds;
        return size;
    }
    size.bounds = QRect(left, top, width, height);
    // The window is at least its minimum size, so judge visibility by what will be shown.
    const QRect shown(size.bounds.topLeft(),
                      size.bounds.size().expandedTo(QSize(kDefaultWidth, kDefaultHeight)));
    if (!screens.isEmpty() && !visibleOnAnyScreen(shown, screens)) size.bounds = defaults.bounds;
    return size;
}

QStringList FormSizeLines(const FormSize& size) {
    return {QString::number(size.CurPage), QString::number(size.bounds.width()),
            QString::number(size.bounds.height()), QString::number(size.bounds.left()),
            QString::number(size.bounds.top())};
}

} // namespace quenda
