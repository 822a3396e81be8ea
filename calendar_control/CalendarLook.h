#pragma once
// Colour values and fonts as the calendar control stores them (the font substitutions that stand in for
// the Windows faces are the platform's, AppLook.h).

#include "AppLook.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>

namespace quenda {

// A colour as the forms store it: 0x00BBGGRR, red in the low byte; negative values name system colours.
using TColor = std::int32_t;

// Builds a stored colour value from red, green and blue.
constexpr TColor RGB(int r, int g, int b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// System colours (negative values) resolve to the colours of the default light scheme.
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);

QColor ToQColor(TColor color);

// Point sizes become pixel sizes at 96 dots per inch, as on the desktop the forms were laid out for, so the
// drawing does not depend on the screen the control happens to be on.
int PointsToPixels(int points);

// A font by face name, point size and style. "Arial Black" asks for the black weight, so its substitute
// keeps the heavy look.
QFont MakeFont(const QString& face, int points, bool bold = false, bool underline = false);

} // namespace quenda
