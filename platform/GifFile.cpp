// GIF through giflib: the first frame, drawn where the file places it on its logical screen. Pixels the
// frame leaves transparent or does not cover are white, as on a white page.
#include "PictureFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace quenda {

namespace {

struct MemoryInput {
    const QByteArray& bytes;
    qsizetype position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    const qsizetype count = std::min<qsizetype>(wanted, input->bytes.size() - input->position);
    std::memcpy(out, input->bytes.constData() + input->position, std::size_t(count));
    input->position += count;
    return int(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

PictureResult failure(const QString& why) {
    return {QImage(), why};
}

QString gifError(int code) {
    const char* text = GifErrorString(code);
    return QStringLiteral("broken GIF file: %1").arg(QString::fromLatin1(text ? text : "unknown error"));
}

// Reads the extension blocks of one extension record; returns the transparent colour index a graphic
// control extension names, or `transparent` unchanged.
bool skipExtension(GifFileType* gif, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
    }
    while (block != nullptr)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    return true;
}

// The rows of a frame in the order the file stores them: interlaced frames come in four passes.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(std::size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass])
            rows.push_back(y);
    return rows;
}

// Decodes the frame whose descriptor has just been read onto `canvas`.
QString drawFrame(GifFileType* gif, int transparent, QImage& canvas) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr) return QStringLiteral("broken GIF file: no colour table");
    if (!FitsPictureLimits(frame.Width, frame.Height))
        return QStringLiteral("GIF frame of %1 x %2 pixels is over the limits")
            .arg(frame.Width)
            .arg(frame.Height);
    std::vector<GifPixelType> line(std::size_t(frame.Width));
    for (int y : rowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return gifError(gif->Error);
        const int row = frame.Top + y;
        if (row < 0 || row >= canvas.height()) continue;
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(row));
        for (int x = 0; x < frame.Width; ++x) {
            const int column = frame.Left + x;
            const int index = line[std::size_t(x)];
            if (column >= canvas.width() || index == transparent) continue;
            const GifColorType colour =
                index < colours->ColorCount ? colours->Colors[index] : GifColorType{0, 0, 0};
            out[column] = qRgb(colour.Red, colour.Green, colour.Blue);
        }
    }
    return {};
}

// The logical screen; a file that leaves it empty gets the extent of its first frame.
QSize screenSize(const GifFileType& gif) {
    if (gif.SWidth > 0 && gif.SHeight > 0) return {gif.SWidth, gif.SHeight};
    return {gif.Image.Left + gif.Image.Width, gif.Image.Top + gif.Image.Height};
}

} // namespace

PictureResult DecodeGif(const QByteArray& bytes) {
    MemoryInput input{bytes};
    int error = 0;
    const GifHandle gif(DGifOpen(&input, readFromMemory, &error));
    if (!gif) return failure(gifError(error));
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) return failure(gifError(gif->Error));
        if (record == TERMINATE_RECORD_TYPE) return failure(QStringLiteral("GIF file without a picture"));
        if (record == EXTENSION_RECORD_TYPE) {
            if (!skipExtension(gif.get(), transparent)) return failure(gifError(gif->Error));
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) return failure(QStringLiteral("broken GIF file"));
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return failure(gifError(gif->Error));
        const QSize screen = screenSize(*gif);
        if (!FitsPictureLimits(screen.width(), screen.height()))
            return failure(QStringLiteral("GIF screen of %1 x %2 pixels is over the limits")
                               .arg(screen.width())
                               .arg(screen.height()));
        QImage canvas(screen, QImage::Format_RGB32);
        if (canvas.isNull()) return failure(QStringLiteral("out of memory"));
        canvas.fill(Qt::white);
        const QString why = drawFrame(gif.get(), transparent, canvas);
        if (!why.isEmpty()) return failure(why);
        return {canvas, QString()};
    }
}

} // namespace quenda
