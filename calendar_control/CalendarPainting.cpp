#include "CalendarPainting.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace quenda {

namespace {

// Rounds to nearest with halves to even, as the platform's Round does (the default FP rounding mode).
int RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Rounded up, so a buffer covers its whole logical area at fractional ratios; the small allowance keeps
// products such as 1.1 * 10 from rounding up past a whole number.
QSize PixelSize(QSize logicalSize, qreal ratio) {
    const auto pixels = [ratio](int logical) {
        return logical <= 0 ? 0 : static_cast<int>(std::ceil(logical * ratio - 1e-6));
    };
    return {pixels(logicalSize.width()), pixels(logicalSize.height())};
}

int Channel(int from, double step, int band) {
    return std::clamp(from + RoundEven((band + 1) * step), 0, 255);
}

QFont StyledAs(const QFont& style, const QString& face, int points) {
    QFont font = MakeFont(face, points);
    font.setItalic(style.italic());
    font.setUnderline(style.underline());
    font.setStrikeOut(style.strikeOut());
    return font;
}

// The large number: one line, centred, with the white ground of its own text box painted opaquely so the
// month number covers the year number where their rectangles overlap. Text and box are clipped to the
// rectangle: the month's box is taller than its half of the grid and would otherwise wipe out the bottom
// of the year's digits.
void DrawBackNumber(QPainter& painter, const QRect& rect, int number, const QFont& font, TColor colour) {
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QString text = metrics.elidedText(QString::number(number), Qt::ElideRight, rect.width());
    const QRect box = metrics.boundingRect(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(box, Qt::white);
    painter.setPen(ToQColor(colour));
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void PlacePicture(const BackgroundParams& params, QImage& pictureLayer) {
    pictureLayer = MakeBuffer(params.size, params.devicePixelRatio);
    pictureLayer.fill(Qt::white);
    const QImage& picture = *params.picture;
    const int pw = picture.width();
    const int ph = picture.height();
    const int w = params.size.width();
    const int h = params.size.height();
    QPainter painter(&pictureLayer);
    if (params.stretch) {
        if (const auto fitted = FitPicture(pw, ph, w, h, params.center)) painter.drawImage(*fitted, picture);
    } else if (params.center) {
        painter.drawImage(QPoint((w - pw) / 2, (h - ph) / 2), picture);
    } else {
        painter.drawImage(QPoint(0, 0), picture);
    }
}

} // namespace

QImage MakeBuffer(QSize logicalSize, qreal devicePixelRatio) {
    QImage buffer(PixelSize(logicalSize, devicePixelRatio), QImage::Format_RGB32);
    buffer.setDevicePixelRatio(devicePixelRatio);
    return buffer;
}

bool BufferFits(const QImage& buffer, QSize logicalSize, qreal devicePixelRatio) {
    return !buffer.isNull() && buffer.format() == QImage::Format_RGB32 &&
           buffer.devicePixelRatio() == devicePixelRatio &&
           buffer.size() == PixelSize(logicalSize, devicePixelRatio);
}

void DrawBufferPart(QPainter& painter, QPoint target, const QImage& buffer, const QRect& source) {
    const qreal ratio = buffer.devicePixelRatio();
    const QRectF pixels(source.x() * ratio, source.y() * ratio, source.width() * ratio,
                        source.height() * ratio);
    painter.drawImage(QRectF(target, source.size()), buffer, pixels);
}

bool GradientFill(QPainter& painter, const QRect& rect, int count, int direction, TColor from, TColor to) {
    if (count < 1) return false;
    const QColor start = ToQColor(from);
    const QColor end = ToQColor(to);
    const double stepR = double(end.red() - start.red()) / count;
    const double stepG = double(end.green() - start.green()) / count;
    const double stepB = double(end.blue() - start.blue()) / count;
    const int extent = direction == 0 ? rect.height() : rect.width();
    for (int i = 0; i < count; ++i) {
        const int first = RoundEven(double(i) * extent / count);
        const int last = RoundEven(double(i + 1) * extent / count);
        if (last <= first) continue; // many bands are empty in a cell lower than the band count
        const QColor colour(Channel(start.red(), stepR, i), Channel(start.green(), stepG, i),
                            Channel(start.blue(), stepB, i));
        const QRect band = direction == 0
                               ? QRect(rect.left(), rect.top() + first, rect.width(), last - first)
                               : QRect(rect.left() + first, rect.top(), last - first, rect.height());
        painter.fillRect(band, colour);
    }
    return true;
}

std::optional<QRect> FitPicture(int pw, int ph, int bw, int bh, bool centre) {
    if (pw <= 0 || ph <= 0) return std::nullopt;
    const double q = double(pw) / ph;
    int width = 0;
    int height = 0;
    if (ph < pw) {
        width = bw;
        height = static_cast<int>(std::trunc(bw / q));
        if (height > bh) {
            height = bh;
            width = static_cast<int>(std::trunc(bh * q));
        }
    } else {
        height = bh;
        width = static_cast<int>(std::trunc(bh * q));
        if (width > bw) {
            width = bw;
            height = static_cast<int>(std::trunc(bw / q));
        }
    }
    QRect rect(0, 0, width, height);
    if (centre) rect.translate((bw - width) / 2, (bh - height) / 2);
    return rect;
}

void BlendLayer(QImage& target, QImage& layer, QPoint origin, QRgb key, int weight) {
    if (target.format() != QImage::Format_RGB32) target = target.convertToFormat(QImage::Format_RGB32);
    if (layer.format() != QImage::Format_RGB32) layer = layer.convertToFormat(QImage::Format_RGB32);
    const int a = ((weight % 100) + 100) % 100;
    const QRgb keyRgb = key & 0xFFFFFF;
    const QRect area = QRect(origin, layer.size()).intersected(target.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(layer.constScanLine(y - origin.y()));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb l = in[x - origin.x()];
            if ((l & 0xFFFFFF) == keyRgb) continue;
            const QRgb t = out[x];
            const auto mix = [a](int tc, int lc) {
                return std::clamp((tc * (100 - a) + lc * a) / 100, 0, 255);
            };
            out[x] = qRgb(mix(qRed(t), qRed(l)), mix(qGreen(t), qGreen(l)), mix(qBlue(t), qBlue(l)));
        }
    }
}

void RenderBackground(const BackgroundParams& params, QImage& backBuffer, QImage& pictureLayer) {
    if (params.size.isEmpty()) {
        backBuffer = QImage();
        pictureLayer = QImage();
        return;
    }
    if (!BufferFits(backBuffer, params.size, params.devicePixelRatio))
        backBuffer = MakeBuffer(params.size, params.devicePixelRatio);
    backBuffer.fill(Qt::white);
    {
        QPainter painter(&backBuffer);
        if (params.showFrame) {
            DrawFrame(painter, QRect(QPoint(0, 0), params.size), ToQColor(params.colorShowFrame));
        }
        if (params.showBackYearMonth) {
            const QRect grid = params.gridRect;
            const int half = (grid.top() + grid.height()) / 2; // half the grid's bottom coordinate
            const QRect yearRect =
                QRect(QPoint(grid.left(), grid.top()), QPoint(grid.right(), half - 1)).translated(0, 6);
            const QRect monthRect(QPoint(grid.left(), half), QPoint(grid.right(), grid.bottom()));
            DrawBackNumber(painter, yearRect, params.year, StyledAs(params.font, "Arial Black", 48),
                           params.colorBackYear);
            DrawBackNumber(painter, monthRect, params.month, StyledAs(params.font, "Arial Black", 90),
                           params.colorBackMonth);
        }
    }
    if (params.picture == nullptr || params.picture->isNull() || params.picture->width() <= 0 ||
        params.picture->height() <= 0) {
        pictureLayer = QImage();
        return;
    }
    PlacePicture(params, pictureLayer);
    BlendLayer(backBuffer, pictureLayer, QPoint(0, 0), pictureLayer.pixel(0, 0), params.alphaBlend);
}

void DrawFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), colour);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), colour);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), colour);
}

void DrawLine(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment alignment) {
    const QFontMetrics metrics(painter.font());
    painter.drawText(rect, int(alignment | Qt::TextSingleLine),
                     metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

} // namespace quenda
