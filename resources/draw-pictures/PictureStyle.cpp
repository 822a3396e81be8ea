#include "PictureStyle.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace pictures {

QFont Face(const char* windowsName, int pixels, bool bold) {
    QFont font(QString::fromUtf8(windowsName));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting); // the same shapes at both scales
    return font;
}

QImage Render(int width, int height, double scale, const std::function<void(QPainter&)>& draw) {
    QImage image(qRound(width * scale), qRound(height * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    draw(painter);
    painter.end();
    return image;
}

bool SavePicture(const QString& folder, const QString& name, int width, int height,
                 const std::function<void(QPainter&)>& draw) {
    return Render(width, height, 1.0, draw).save(folder + "/" + name + ".png") &&
           Render(width, height, 2.0, draw).save(folder + "/" + name + "@2x.png");
}

void ButtonBody(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom,
                const QColor& frame, double radius) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setPen(QPen(frame, 1));
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

namespace {

enum class Look { Normal, Highlight, Down };

void drawCross(QPainter& painter, const QRectF& box, const QColor& colour) {
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = box.center();
    painter.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
    painter.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
}

void drawBar(QPainter& painter, const QRectF& box, const QColor& colour) {
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = box.center() + QPointF(0, 3);
    painter.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
}

// The buttons hang from the window's top edge: square top corners, rounded bottom corners.
void hangingBody(QPainter& painter, const QRectF& box, const QColor& fill) {
    QPainterPath path;
    path.addRoundedRect(box.adjusted(0, -6, 0, 0), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.setClipRect(box);
    painter.drawPath(path);
    painter.setClipping(false);
}

bool saveButton(const QString& folder, const QString& name, int width, Look look, bool isClose) {
    return SavePicture(folder, name, width, 20, [&](QPainter& p) {
        const QRectF box(0, 0, width, 20);
        QColor glyph = kDeepBlue;
        if (look == Look::Highlight) {
            hangingBody(p, box, isClose ? kCloseRed : kHoverBlue);
            if (isClose) glyph = Qt::white;
        } else if (look == Look::Down) {
            hangingBody(p, box, isClose ? kPressedRed : kPressedBlue);
            glyph = isClose ? QColor(Qt::white) : kDeepBlue.darker(130);
        }
        isClose ? drawCross(p, box, glyph) : drawBar(p, box, glyph);
    });
}

} // namespace

bool SaveChromeButtons(const QString& folder) {
    const struct {
        const char* suffix;
        Look look;
    } looks[] = {{"normal", Look::Normal}, {"highlight", Look::Highlight}, {"down", Look::Down}};
    bool ok = true;
    for (const auto& entry : looks) {
        ok &= saveButton(folder, QStringLiteral("close_") + entry.suffix, 39, entry.look, true);
        ok &= saveButton(folder, QStringLiteral("mini_") + entry.suffix, 28, entry.look, false);
    }
    return ok;
}

} // namespace pictures
