// The wallpaper composer's pictures: the selection window's background and title, the confirmation
// window's warning sign, and the default background A1.bmp.
#include "PictureStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

using namespace pictures;

namespace {

// The selection window: plain light blue inside a frame of the window's blue.
void drawSelectionBackground(QPainter& p) {
    p.fillRect(QRectF(0, 0, 524, 286), QColor(226, 236, 250));
    p.setPen(QPen(kMidBlue, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 523, 285));
}

// "默认背景" beside a small framed landscape, on the transparent title area.
void drawSelectionTitle(QPainter& p) {
    const QRectF frame(10, 16, 30, 24);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, QColor(140, 190, 240));
    sky.setColorAt(1, QColor(220, 236, 250));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(sky);
    p.drawRect(frame);
    QPainterPath hills;
    hills.moveTo(frame.bottomLeft());
    hills.lineTo(20, 30);
    hills.lineTo(27, 35);
    hills.lineTo(33, 28);
    hills.lineTo(frame.right(), 34);
    hills.lineTo(frame.bottomRight());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(88, 160, 112));
    p.drawPath(hills);
    p.setPen(QPen(kMidBlue, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.setFont(Face("黑体", 22, true));
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(51, 11, 150, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("默认背景"));
    p.setPen(kDeepBlue);
    p.drawText(QRectF(50, 10, 150, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("默认背景"));
}

// The confirmation window's sign: a white exclamation mark in an orange disc.
void drawWarningSign(QPainter& p) {
    QRadialGradient disc(QPointF(18, 16), 30);
    disc.setColorAt(0, QColor(255, 178, 60));
    disc.setColorAt(1, QColor(236, 118, 0));
    p.setPen(QPen(QColor(204, 96, 0), 1));
    p.setBrush(disc);
    p.drawEllipse(QRectF(1.5, 2.5, 42, 42));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath bar;
    bar.moveTo(19.5, 11);
    bar.lineTo(25.5, 11);
    bar.lineTo(24, 30);
    bar.lineTo(21, 30);
    bar.closeSubpath();
    p.drawPath(bar);
    p.drawEllipse(QPointF(22.5, 35.5), 3, 3);
}

// A1.bmp, 1366 x 768: a pale morning sky over soft, distant hills and still water. The top right, where
// the month picture and the note box go, stays light and even so the half-strength box reads well.
void drawDefaultBackground(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 520);
    sky.setColorAt(0, QColor(206, 226, 246));
    sky.setColorAt(1, QColor(242, 246, 250));
    p.fillRect(QRectF(0, 0, 1366, 768), sky);
    QRadialGradient glow(QPointF(300, 430), 420);
    glow.setColorAt(0, QColor(255, 244, 222, 200));
    glow.setColorAt(1, QColor(255, 244, 222, 0));
    p.fillRect(QRectF(0, 0, 1366, 768), glow);

    const struct {
        double base, amplitude, phase;
        QColor colour;
    } ranges[] = {{470, 40, 0.3, QColor(190, 208, 226)},
                  {505, 32, 1.7, QColor(168, 194, 206)},
                  {540, 26, 3.1, QColor(150, 184, 180)}};
    for (const auto& range : ranges) {
        QPainterPath hills;
        hills.moveTo(0, 768);
        for (int step = 0; step <= 1366 / 6 + 1; ++step) {
            const int x = std::min(step * 6, 1366);
            const double t = x / 1366.0 * 6.2832;
            hills.lineTo(x, range.base - range.amplitude * (0.6 * std::sin(t + range.phase) +
                                                            0.4 * std::sin(2.3 * t + 2 * range.phase)));
        }
        hills.lineTo(1366, 768);
        p.setPen(Qt::NoPen);
        p.setBrush(range.colour);
        p.drawPath(hills);
    }
    QLinearGradient water(0, 580, 0, 768);
    water.setColorAt(0, QColor(214, 230, 240));
    water.setColorAt(1, QColor(186, 210, 228));
    p.fillRect(QRectF(0, 580, 1366, 188), water);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
    for (int i = 0; i < 9; ++i) {
        const double y = 600 + i * 19.0, x = 120 + (i * 277) % 1000;
        p.drawLine(QPointF(x, y), QPointF(x + 90 + (i % 3) * 40, y));
    }
}

} // namespace

bool DrawComposerPictures(const QString& folder) {
    return SavePicture(folder, "selection_background", 524, 286, drawSelectionBackground) &&
           SavePicture(folder, "selection_title", 200, 57, drawSelectionTitle) &&
           SavePicture(folder, "confirm_warning", 45, 46, drawWarningSign);
}

bool DrawDefaultBackground(const QString& path) {
    QImage picture(1366, 768, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawDefaultBackground(painter);
    painter.end();
    return picture.save(path, "BMP");
}
