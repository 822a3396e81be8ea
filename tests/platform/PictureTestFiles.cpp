#include "PictureTestFiles.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <gif_lib.h>

namespace quenda::test {

namespace {

int writeToByteArray(GifFileType* gif, const GifByteType* bytes, int count) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
    return count;
}

struct GifWriterCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct ColourMapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::unique_ptr<ColorMapObject, ColourMapFree> palette() {
    const GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    return std::unique_ptr<ColorMapObject, ColourMapFree>(GifMakeMapObject(4, colours));
}

// The rows in the order an interlaced frame stores them.
std::vector<int> storedRows(int height, bool interlaced) {
    std::vector<int> rows;
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
        for (int y = interlaced ? starts[pass] : 0; y < height; y += interlaced ? steps[pass] : 1)
            rows.push_back(y);
    return rows;
}

void putFrame(GifFileType* gif, const GifFrame& frame) {
    if (frame.transparent >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, frame.transparent};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension);
    }
    const auto local = palette();
    EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced,
                     frame.localColours ? local.get() : nullptr);
    std::vector<GifPixelType> line(std::size_t(frame.width));
    for (int y : storedRows(frame.height, frame.interlaced)) {
        std::memcpy(line.data(), frame.pixels.data() + std::size_t(y * frame.width), line.size());
        EGifPutLine(gif, line.data(), frame.width);
    }
}

quint32 crc32(const unsigned char* bytes, std::size_t count) {
    quint32 crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putLittle(QByteArray& bytes, qsizetype at, quint32 value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

void putBig(QByteArray& bytes, qsizetype at, quint32 value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[at + i] = char((value >> (8 * (count - 1 - i))) & 0xFF);
}

} // namespace

QByteArray MakeGif(int screenWidth, int screenHeight, const std::vector<GifFrame>& frames) {
    QByteArray bytes;
    int error = 0;
    {
        const std::unique_ptr<GifFileType, GifWriterCloser> gif(EGifOpen(&bytes, writeToByteArray, &error));
        EGifSetGifVersion(gif.get(), true);
        const bool global = frames.empty() || !frames.front().localColours;
        const auto colours = palette();
        EGifPutScreenDesc(gif.get(), screenWidth, screenHeight, 2, 0, global ? colours.get() : nullptr);
        for (const GifFrame& frame : frames)
            putFrame(gif.get(), frame);
    }
    return bytes;
}

QImage PatternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255) / std::max(1, width - 1), (y * 255) / std::max(1, height - 1), 128);
    }
    return image;
}

QByteArray EncodeWithQt(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(picture);
    return bytes;
}

QByteArray WithForgedSize(const QByteArray& file, const char* format, quint32 width, quint32 height) {
    QByteArray bytes = file;
    const QByteArray kind(format);
    if (kind == "bmp") {
        putLittle(bytes, 18, width, 4);
        putLittle(bytes, 22, height, 4);
    } else if (kind == "gif") {
        putLittle(bytes, 6, width, 2);
        putLittle(bytes, 8, height, 2);
    } else if (kind == "png") {
        putBig(bytes, 16, width, 4);
        putBig(bytes, 20, height, 4);
        const auto* chunk = reinterpret_cast<const unsigned char*>(bytes.constData()) + 12;
        putBig(bytes, 29, crc32(chunk, 17), 4); // IHDR's type and data
    } else if (kind == "jpg") {
        // The frame header: FF C0 (or C1, C2), length, precision, height, width.
        for (qsizetype i = 2; i + 8 < bytes.size(); ++i) {
            const auto marker = static_cast<unsigned char>(bytes[i + 1]);
            if (static_cast<unsigned char>(bytes[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
                putBig(bytes, i + 5, height, 2);
                putBig(bytes, i + 7, width, 2);
                break;
            }
        }
    }
    return bytes;
}

int LargestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

} // namespace quenda::test
