#pragma once
// The compositing object: three picture slots and the blending of an overlay onto a base.

#include <QImage>

namespace quenda {

// Columns between the overlay's right edge and the base's.
inline constexpr int kOverlayRightMargin = 50;

class TMixPicFrm {
public:
    QImage img1;   // the overlay
    QImage img2;   // the base
    QImage imgmix; // the result

    // Mixes `Overlay` into `Base` in place: overlay row r goes to base row r + Top, and the overlay's
    // right edge lies RightMargin (50; more on a background taller than 1080 pixels) pixels inside the
    // base's right edge. Pure white overlay pixels are transparent; every other one moves each colour byte
    // d of the base to d + (s - d) * Percent / 100, truncated toward zero. Both pictures are brought to
    // 32 bits a pixel first. False, with the base unchanged, when the overlay does not fit (the base must
    // be at least RightMargin pixels wider than the overlay and at least Top + the overlay's height tall)
    // or Percent lies outside 0 to 100.
    static bool BlendOverlay(const QImage& Overlay, QImage& Base, int Top, int Percent,
                             int RightMargin = kOverlayRightMargin);

    // Empties the slots img1 and img2.
    void JvXPButton1Click();
};

} // namespace quenda
