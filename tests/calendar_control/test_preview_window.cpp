// The preview window's white ground stays its own: the control's menus and labels keep their looks.
#include "PreviewWindow.h"
#include "TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPoint>

#include <gtest/gtest.h>

namespace quenda {
namespace {

int NonWhite(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

TEST(PreviewWindow, WhiteGroundWithoutRestylingTheControl) {
    test::EnsureApplication();
    TPreviewWindow window;
    window.show();
    window.Calendar().CreateWnd();
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(test::ColourAt(shot, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(test::ColourAt(shot, 422, 253), RGB(255, 255, 255));
    EXPECT_EQ(window.Calendar().geometry(), QRect(2, 2, 419, 250));

    // The hovered menu item is drawn in the style's highlight, not white on white.
    QMenu& menu = window.Calendar().MonthMenu();
    QAction* march = window.Calendar().findChild<QAction*>("MenuMonth_2");
    ASSERT_NE(march, nullptr);
    menu.popup(QPoint(100, 100));
    menu.setActiveAction(march);
    const QImage menuShot = menu.grab().toImage();
    const QRect item = menu.actionGeometry(march).adjusted(2, 2, -2, -2);
    EXPECT_GT(NonWhite(menuShot, item), item.width() * item.height() / 2);
    menu.hide();

    // Labels draw no ground of their own: a background picture shows around their text.
    QImage picture(419, 250, QImage::Format_RGB32);
    picture.fill(qRgb(100, 100, 100));
    picture.setPixel(0, 0, qRgb(1, 1, 1)); // the key colour lets the ground through only there
    window.Calendar().SetBackGround(picture);
    const auto* unit = window.Calendar().findChild<QLabel*>("YearUnitLabel");
    const QPoint corner = unit->geometry().topLeft();
    const QImage withPicture = window.Calendar().grab().toImage();
    EXPECT_EQ(test::ColourAt(withPicture, corner.x(), corner.y()),
              test::ColourAt(window.Calendar().BackBuffer(), corner.x(), corner.y()));
    EXPECT_NE(test::ColourAt(withPicture, corner.x(), corner.y()), RGB(255, 255, 255));
}

} // namespace
} // namespace quenda
