#include "AppIcon.h"

#include <QFont>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <map>

namespace quenda {

namespace {

const QColor kFrameBlue(120, 160, 215);
const QColor kPaleBlue(236, 243, 252);
const QColor kDeepBlue(32, 74, 135);
const QColor kLeafRed(214, 48, 49);

// The day number as an outline scaled into `box`: the same shape whichever face the system substitutes
// and at every size, and plain paths in the SVG icon.
QPainterPath dayOutline(const QString& day, const QRectF& box) {
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(100);
    font.setBold(true);
    QPainterPath text;
    text.addText(0, 0, font, day);
    const QRectF bounds = text.boundingRect();
    if (bounds.isEmpty()) return {};
    const double scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform place;
    place.translate(box.center().x(), box.center().y());
    place.scale(scale, scale);
    place.translate(-bounds.center().x(), -bounds.center().y());
    return place.map(text);
}

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64};

// Draws the icon at the size asked for, once per size.
class AppIconEngine : public QIconEngine {
public:
    explicit AppIconEngine(QString day) : m_day(std::move(day)) {}
    QIconEngine* clone() const override { return new AppIconEngine(*this); }
    QString key() const override { return QStringLiteral("quenda-app-icon"); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int pixels : kIconSizes)
            sizes.append(QSize(pixels, pixels));
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        if (side <= 0) return {};
        QPixmap& drawn = m_drawn[side];
        if (drawn.isNull()) drawn = QPixmap::fromImage(AppIconImage(side, m_day));
        return drawn;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    QString m_day;
    std::map<int, QPixmap> m_drawn;
};

} // namespace

void DrawAppIcon(QPainter& painter, double size, const QString& day) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Small icons (a tray, a 16-pixel menu) have room for the number alone: no rings, a thin margin.
    const bool small = size < 30;
    const double margin = small ? size * 0.03 : size * 0.08;
    const QRectF leaf(margin, margin, size - 2 * margin, size - 2 * margin);
    const double radius = size * 0.12;
    const double pen = std::max(1.0, size / 64);

    QLinearGradient page(leaf.topLeft(), leaf.bottomLeft());
    page.setColorAt(0, Qt::white);
    page.setColorAt(1, kPaleBlue);
    painter.setPen(QPen(kFrameBlue, pen));
    painter.setBrush(page);
    painter.drawRoundedRect(leaf.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2), radius, radius);

    // The red strip along the top, square where it meets the page.
    const double stripHeight = leaf.height() * (small ? 0.22 : 0.26);
    QPainterPath strip;
    strip.addRoundedRect(leaf.adjusted(0, 0, 0, -(leaf.height() - stripHeight) + radius), radius, radius);
    QPainterPath top;
    top.addRect(QRectF(leaf.left(), leaf.top(), leaf.width(), stripHeight));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLeafRed);
    painter.drawPath(strip.intersected(top));
    if (!small) {
        painter.setBrush(Qt::white);
        for (double x : {0.3, 0.7})
            painter.drawEllipse(QPointF(leaf.left() + leaf.width() * x, leaf.top() + stripHeight * 0.45),
                                size * 0.035, size * 0.035);
    }

    const QRectF numberBox(leaf.left() + leaf.width() * 0.12, leaf.top() + stripHeight + leaf.height() * 0.1,
                           leaf.width() * 0.76, leaf.height() - stripHeight - leaf.height() * 0.2);
    painter.setBrush(kDeepBlue);
    painter.drawPath(dayOutline(day, numberBox));
    painter.restore();
}

QImage AppIconImage(int pixels, const QString& day) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawAppIcon(painter, pixels, day);
    painter.end();
    return image;
}

QIcon AppIconSet(const QString& day) {
    return QIcon(new AppIconEngine(day));
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int pixels : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/quenda-calendar-%1.png").arg(pixels), QSize(pixels, pixels));
    return icon;
}

} // namespace quenda
