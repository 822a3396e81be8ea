#include "uPicMix.h"

namespace quenda {

namespace {

// One colour byte: d + (s - d) * percent / 100 with C++'s division, which truncates toward zero.
inline quint32 mixByte(quint32 s, quint32 d, int percent) {
    return quint32(int(d) + (int(s) - int(d)) * percent / 100);
}

void blendRow(const QRgb* overlay, QRgb* base, int width, int percent) {
    for (int c = 0; c < width; ++c) {
        const QRgb s = overlay[c];
        if ((s & 0x00FFFFFFu) == 0x00FFFFFFu) continue; // white is transparent
        const QRgb d = base[c];
        const quint32 blue = mixByte(s & 0xFF, d & 0xFF, percent);
        const quint32 green = mixByte((s >> 8) & 0xFF, (d >> 8) & 0xFF, percent);
        const quint32 red = mixByte((s >> 16) & 0xFF, (d >> 16) & 0xFF, percent);
        base[c] = (d & 0xFF000000u) | (red << 16) | (green << 8) | blue;
    }
}

} // namespace

bool TMixPicFrm::BlendOverlay(const QImage& Overlay, QImage& Base, int Top, int Percent, int RightMargin) {
    if (Overlay.isNull() || Base.isNull() || Percent < 0 || Percent > 100 || Top < 0 || RightMargin < 0)
        return false;
    if (qint64(Overlay.width()) + RightMargin > Base.width()) return false;
    if (qint64(Top) + Overlay.height() > Base.height()) return false;
    const QImage source = Overlay.convertToFormat(QImage::Format_RGB32);
    Base.convertTo(QImage::Format_RGB32);
    if (source.isNull() || Base.isNull()) return false;
    // The overlay is the narrower and the shorter picture here, so it is the one walked over.
    const int left = Base.width() - source.width() - RightMargin;
    for (int r = 0; r < source.height(); ++r) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(r));
        auto* to = reinterpret_cast<QRgb*>(Base.scanLine(r + Top)) + left;
        blendRow(from, to, source.width(), Percent);
    }
    return true;
}

void TMixPicFrm::JvXPButton1Click() {
    img1 = QImage();
    img2 = QImage();
}

} // namespace quenda
