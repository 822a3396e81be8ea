#pragma once
// The one light-blue style of every window picture, and a canvas that draws a picture once in logical
// pixels and saves it at its size and at twice its size.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>

namespace pictures {

// The palette: frames and panels in the window's light blue, text in a deep blue.
inline const QColor kFrame(216, 227, 243);
inline const QColor kPaleBlue(236, 243, 252);
inline const QColor kMidBlue(120, 160, 215);
inline const QColor kDeepBlue(32, 74, 135);
inline const QColor kCloseRed(232, 17, 35);
inline const QColor kPressedRed(170, 12, 25);
inline const QColor kHoverBlue(190, 210, 238);
inline const QColor kPressedBlue(150, 182, 226);

// A face by its Windows name (the substitutions map it onto the installed free face), in pixels.
QFont Face(const char* windowsName, int pixels, bool bold = false);

// Draws `draw` on a transparent `width` x `height` picture at `scale` (the painter is scaled, so `draw`
// works in logical pixels).
QImage Render(int width, int height, double scale, const std::function<void(QPainter&)>& draw);

// Writes `name`.png at scale 1 and `name`@2x.png at scale 2 into the output folder. False on a write error.
bool SavePicture(const QString& folder, const QString& name, int width, int height,
                 const std::function<void(QPainter&)>& draw);

// Vertical gradient of a rounded rectangle with a one-pixel frame, the body of every picture button.
void ButtonBody(QPainter& painter, const QRectF& rect, const QColor& top, const QColor& bottom,
                const QColor& frame, double radius);

// The close button (39 x 20) and the minimise button (28 x 20) in their three looks, shared by every
// borderless window: "normal", "highlight", "down".
bool SaveChromeButtons(const QString& folder);

} // namespace pictures

// Each window's pictures; each returns false on a write error.
bool DrawMainWindowPictures(const QString& folder);
bool DrawComposerPictures(const QString& folder);

// The program's icon: quenda-calendar.svg and quenda-calendar-SIZE.png for each of kAppIconSizes.
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
bool DrawAppIcons(const QString& folder);

// The default background A1.bmp (1366 x 768, 24-bit BMP) written to `path`.
bool DrawDefaultBackground(const QString& path);
