#pragma once
// Drawing helpers of the month calendar: the gradient of the selected cell, fitting and blending the
// background picture, and the background buffer with its large pale year and month numbers.

#include "CalendarLook.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <optional>

namespace quenda {

// Fills rect with `count` bands from one colour to another, top to bottom (direction 0) or left to right
// (direction 1). Band i has the colour from + round((i + 1) * step), halves to even, so the last band is
// exactly the end colour. False, drawing nothing, when count is below 1.
bool GradientFill(QPainter& painter, const QRect& rect, int count, int direction, TColor from, TColor to);

// The rectangle a pw x ph picture takes when scaled to fit a bw x bh box keeping its aspect ratio,
// centred in the box if asked. Nothing for a picture without area, which has no aspect ratio.
std::optional<QRect> FitPicture(int pw, int ph, int bw, int bh, bool centre);

// Mixes `layer` into `target` at `origin`: each channel becomes (target * (100 - a) + layer * a) / 100 with
// a = weight mod 100; layer pixels of exactly the key colour leave the target alone. Both images end up
// in a 32-bit RGB format.
void BlendLayer(QImage& target, QImage& layer, QPoint origin, QRgb key, int weight);

// Buffers hold the control's drawing at the device pixel ratio of the screen it is on, so text is drawn in
// device pixels instead of being scaled up; everything else works in logical pixels. A buffer of a logical
// size has the size times the ratio, rounded up, in pixels.
QImage MakeBuffer(QSize logicalSize, qreal devicePixelRatio);
bool BufferFits(const QImage& buffer, QSize logicalSize, qreal devicePixelRatio);

// Copies the part of a buffer under `source` (logical pixels of the buffer) to `target` on the painter.
void DrawBufferPart(QPainter& painter, QPoint target, const QImage& buffer, const QRect& source);

// Everything the background buffer depends on.
struct BackgroundParams {
    QSize size;
    qreal devicePixelRatio = 1;
    QRect gridRect; // in control coordinates
    QFont font;     // the control's font; its style carries over to the large numbers
    bool showFrame = true;
    TColor colorShowFrame = 8421504;
    bool showBackYearMonth = true;
    TColor colorBackYear = RGB(255, 232, 221);
    TColor colorBackMonth = RGB(235, 235, 235);
    int year = 0;
    int month = 0;
    const QImage* picture = nullptr; // null or empty: no picture
    bool center = false;
    bool stretch = false;
    int alphaBlend = 50;
};

// Rebuilds the background buffer (white ground, frame, pale year and month numbers, blended picture) and
// the picture layer, which is left 0 x 0 when there is no picture to place. Both are drawn at the pixel
// ratio of the parameters; the blend works on their pixels.
void RenderBackground(const BackgroundParams& params, QImage& backBuffer, QImage& pictureLayer);

// A frame one logical pixel wide along the inside of rect. Filled rather than stroked, so it covers whole
// device pixels at any pixel ratio; at 1x these are the pixels a one-pixel pen around
// rect.adjusted(0, 0, -1, -1) covers.
void DrawFrame(QPainter& painter, const QRect& rect, const QColor& colour);

// Draws one line of text in a rectangle with the given alignment, cut with an ellipsis if too wide.
void DrawLine(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment alignment);

} // namespace quenda
