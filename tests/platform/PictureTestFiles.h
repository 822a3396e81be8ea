#pragma once
// Picture files made in memory for the tests: GIF files through giflib's encoder, forged headers, and a
// pattern whose every pixel differs from its neighbours.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace quenda::test {

// One frame of a GIF file: where it sits, its colour indices and which of them is transparent.
struct GifFrame {
    int left = 0, top = 0, width = 1, height = 1;
    std::vector<unsigned char> pixels; // width * height indices, row by row
    int transparent = -1;
    bool interlaced = false;
    bool localColours = false; // the palette goes with the frame instead of the file
};

// A GIF file with a logical screen of `screenWidth` x `screenHeight`, a 4-colour palette (0 black,
// 1 red, 2 green, 3 blue) and the given frames.
QByteArray MakeGif(int screenWidth, int screenHeight, const std::vector<GifFrame>& frames);

// A picture with a smooth pattern (good for JPEG) of the given size.
QImage PatternImage(int width, int height);

// Bytes of `picture` in `format` ("bmp", "png", "jpg" through Qt).
QByteArray EncodeWithQt(const QImage& picture, const char* format);

// The same file with the picture size in its header replaced by `width` x `height`.
QByteArray WithForgedSize(const QByteArray& file, const char* format, quint32 width, quint32 height);

// The largest difference of one colour channel between two pictures of the same size.
int LargestChannelDifference(const QImage& a, const QImage& b);

} // namespace quenda::test
