// The main window's pictures: its background, the logo, the two composer buttons and the two note tools.
#include "PictureStyle.h"

#include <QLinearGradient>
#include <QPainterPath>

using namespace pictures;

namespace {

// The window's background, stretched over the client area: a pale band behind the logo and the tools
// that fades into the frame colour where the panels begin (row 80 of 500). It changes only downwards, so
// a narrow strip stretched sideways gives the same picture and decodes in a fraction of the time.
constexpr int kBackgroundStripWidth = 8;

void drawBackground(QPainter& p) {
    QLinearGradient gradient(0, 0, 0, 500);
    gradient.setColorAt(0.0, QColor(250, 252, 255));
    gradient.setColorAt(0.15, kPaleBlue);
    gradient.setColorAt(0.16, kFrame);
    gradient.setColorAt(1.0, kFrame);
    p.fillRect(QRectF(0, 0, kBackgroundStripWidth, 500), gradient);
}

// A desk calendar leaf: a red top strip with two rings over a white page.
void drawCalendarLeaf(QPainter& p, const QRectF& leaf, const QString& day) {
    ButtonBody(p, leaf, Qt::white, QColor(242, 246, 252), kMidBlue, 5);
    QPainterPath strip;
    strip.addRoundedRect(leaf.adjusted(0.5, 0.5, -0.5, -leaf.height() * 0.68), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 48, 49));
    p.drawPath(strip);
    p.fillRect(
        QRectF(leaf.left() + 0.5, leaf.top() + leaf.height() * 0.2, leaf.width() - 1, leaf.height() * 0.12),
        QColor(214, 48, 49));
    p.setBrush(Qt::white);
    for (double x : {0.3, 0.7})
        p.drawEllipse(QPointF(leaf.left() + leaf.width() * x, leaf.top() + 4), 1.8, 1.8);
    p.setPen(kDeepBlue);
    p.setFont(Face("Arial Black", int(leaf.height() * 0.5), true));
    p.drawText(leaf.adjusted(0, leaf.height() * 0.3, 0, 0), Qt::AlignCenter, day);
}

void drawLogo(QPainter& p) {
    drawCalendarLeaf(p, QRectF(6, 8, 40, 40), QStringLiteral("9"));
    p.setFont(Face("黑体", 26, true));
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(57, 11, 150, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("桌面日历"));
    p.setPen(kDeepBlue);
    p.drawText(QRectF(56, 10, 150, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("桌面日历"));
    p.setFont(Face("Arial", 9));
    p.setPen(kMidBlue);
    p.drawText(QRectF(57, 42, 150, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUENDA CALENDAR"));
}

// "添加到桌面": the action button, the one strong blue of the window.
void drawAppToDesk(QPainter& p) {
    ButtonBody(p, QRectF(0, 0, 84, 29), QColor(98, 156, 226), QColor(44, 104, 186), QColor(36, 86, 160), 5);
    p.setFont(Face("微软雅黑", 13, true));
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 84, 28), Qt::AlignCenter, QStringLiteral("添加到桌面"));
}

// "选择壁纸": a small landscape picture with the caption beneath it.
void drawAddToDesk(QPainter& p) {
    ButtonBody(p, QRectF(0, 0, 200, 93), Qt::white, kPaleBlue, kMidBlue, 6);
    const QRectF frame(14, 12, 84, 62);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, QColor(140, 190, 240));
    sky.setColorAt(1, QColor(220, 236, 250));
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(sky);
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 214, 90));
    p.drawEllipse(QPointF(80, 28), 6, 6);
    QPainterPath hills;
    hills.moveTo(frame.bottomLeft());
    hills.lineTo(38, 44);
    hills.lineTo(54, 58);
    hills.lineTo(72, 40);
    hills.lineTo(frame.right(), 62);
    hills.lineTo(frame.bottomRight());
    p.setBrush(QColor(88, 160, 112));
    p.drawPath(hills);
    p.setPen(QPen(kMidBlue, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.setFont(Face("微软雅黑", 19, true));
    p.setPen(kDeepBlue);
    p.drawText(QRectF(104, 18, 92, 30), Qt::AlignCenter, QStringLiteral("选择壁纸"));
    p.setFont(Face("宋体", 12));
    p.setPen(kMidBlue);
    p.drawText(QRectF(104, 48, 92, 20), Qt::AlignCenter, QStringLiteral("添加 · 更换"));
}

// Note tool: insert today's date, a small calendar leaf and the word 日期.
void drawDateTool(QPainter& p) {
    ButtonBody(p, QRectF(0, 0, 44, 15), Qt::white, kPaleBlue, kMidBlue, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 48, 49));
    p.drawRect(QRectF(4, 3, 9, 3));
    p.setPen(QPen(kMidBlue, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 5.5, 8, 6));
    p.setFont(Face("宋体", 11));
    p.setPen(kDeepBlue);
    p.drawText(QRectF(15, 0, 28, 15), Qt::AlignCenter, QStringLiteral("日期"));
}

// Note tool: text colour, a letter A over a red bar.
void drawColourTool(QPainter& p) {
    ButtonBody(p, QRectF(0, 0, 20, 11), Qt::white, kPaleBlue, kMidBlue, 2);
    p.setFont(Face("Arial", 8, true));
    p.setPen(kDeepBlue);
    p.drawText(QRectF(1, -1, 10, 10), Qt::AlignCenter, QStringLiteral("A"));
    p.fillRect(QRectF(11, 3, 6, 5), QColor(220, 30, 30));
    p.fillRect(QRectF(2, 8, 8, 1.5), QColor(220, 30, 30));
}

} // namespace

bool DrawMainWindowPictures(const QString& folder) {
    return SavePicture(folder, "main_background", kBackgroundStripWidth, 500, drawBackground) &&
           SavePicture(folder, "logo", 210, 56, drawLogo) &&
           SavePicture(folder, "app_to_desk", 84, 29, drawAppToDesk) &&
           SavePicture(folder, "add_to_desk", 200, 93, drawAddToDesk) &&
           SavePicture(folder, "tool_date", 44, 15, drawDateTool) &&
           SavePicture(folder, "tool_colour", 20, 11, drawColourTool);
}
