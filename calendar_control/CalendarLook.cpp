#include "CalendarLook.h"

#include <array>
#include <cmath>

namespace quenda {

namespace {

struct SystemColour {
    int index;
    QRgb rgb;
};

// clang-format off
// The classic light scheme's values of the system colours the control may be given.
constexpr std::array<SystemColour, 9> kSystemColours{{
    {0x05, qRgb(255, 255, 255)}, // window
    {0x08, qRgb(0, 0, 0)},       // window text
    {0x0D, qRgb(0, 120, 215)},   // highlight
    {0x0E, qRgb(255, 255, 255)}, // highlight text
    {0x0F, qRgb(240, 240, 240)}, // button face
    {0x10, qRgb(160, 160, 160)}, // button shadow
    {0x11, qRgb(109, 109, 109)}, // grey text
    {0x12, qRgb(0, 0, 0)},       // button text
    {0x14, qRgb(255, 255, 255)}, // button highlight
}};
// clang-format on

} // namespace

QColor ToQColor(TColor color) {
    if (color < 0) {
        const int index = color & 0xFF;
        for (const auto& entry : kSystemColours)
            if (entry.index == index) return QColor(entry.rgb);
        return QColor(Qt::black);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int PointsToPixels(int points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont MakeFont(const QString& face, int points, bool bold, bool underline) {
    QFont font(face);
    font.setPixelSize(PointsToPixels(points));
    font.setWeight(face == QStringLiteral("Arial Black") ? QFont::Black
                                                         : (bold ? QFont::Bold : QFont::Normal));
    font.setUnderline(underline);
    return font;
}

} // namespace quenda
