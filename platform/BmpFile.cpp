// BMP files. The wallpaper's pictures are 24-bit BMP files of a few megabytes, read and written on every
// installation; doing that here, row by row between the file and the picture, keeps an installation within
// a few times one JPEG encode and decode. Other BMP kinds go through Qt.
#include "PictureCodecs.h"

#include <QBuffer>
#include <QIODevice>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace quenda::detail {

namespace {

constexpr int kFileHeaderBytes = 14, kInfoHeaderBytes = 40;
constexpr qint64 kBlockBytes = 256 * 1024; // rows are read and written in blocks of about this size

qint64 littleEndian(const uchar* bytes, int count) {
    quint64 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return qint64(value);
}

void putLittle(uchar* bytes, quint32 value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[i] = uchar(value >> (8 * i));
}

struct BmpHeader {
    qint64 dataStart = 0, width = 0, height = 0, bits = 0, compression = 0;
    bool topDown = false;
    qint64 rowBytes() const { return (width * bits + 31) / 32 * 4; }
};

// The size and layout from the headers; an error text when they are broken or over the limits. Qt's
// reader fills the rows missing from a file that ends early: such a file is broken too.
QString readHeader(const uchar* head, qint64 available, qint64 fileSize, BmpHeader& header) {
    if (available < 26) return QStringLiteral("broken BMP file: no header");
    header.dataStart = littleEndian(head + 10, 4);
    const qint64 headerSize = littleEndian(head + 14, 4);
    if (headerSize == 12) { // the old core header: 16-bit sizes
        header.width = littleEndian(head + 18, 2), header.height = littleEndian(head + 20, 2);
        header.bits = littleEndian(head + 24, 2);
    } else if (headerSize >= kInfoHeaderBytes && available >= 34) {
        header.width = qint32(littleEndian(head + 18, 4)), header.height = qint32(littleEndian(head + 22, 4));
        header.bits = littleEndian(head + 28, 2), header.compression = littleEndian(head + 30, 4);
    } else {
        return QStringLiteral("broken BMP file: unknown header");
    }
    header.topDown = header.height < 0;
    header.height = std::abs(header.height);
    if (!FitsPictureLimits(header.width, header.height)) return OverLimits(header.width, header.height);
    const bool uncompressed = header.compression == 0 || header.compression == 3;
    if (uncompressed && fileSize < header.dataStart + header.rowBytes() * header.height)
        return QStringLiteral("broken BMP file: it ends early");
    return {};
}

// Blue, green, red (and an unused byte) a pixel, rows from the bottom up unless the height was negative.
// The rows are read a block at a time into one buffer: fewer page faults than mapping the file.
PictureResult readPlain(QIODevice& file, const BmpHeader& header) {
    QImage image(int(header.width), int(header.height), QImage::Format_RGB32);
    if (image.isNull()) return {QImage(), QStringLiteral("out of memory")};
    const int step = int(header.bits / 8), width = image.width(), height = image.height();
    const qint64 rowBytes = header.rowBytes();
    const int blockRows = int(std::max<qint64>(1, kBlockBytes / rowBytes));
    std::vector<uchar> block(std::size_t(rowBytes * blockRows));
    if (!file.seek(header.dataStart)) return {QImage(), QStringLiteral("broken BMP file")};
    for (int stored = 0; stored < height;) {
        const int rows = std::min(blockRows, height - stored);
        if (file.read(reinterpret_cast<char*>(block.data()), rowBytes * rows) != rowBytes * rows)
            return {QImage(), QStringLiteral("broken BMP file: it ends early")};
        for (int r = 0; r < rows; ++r, ++stored) {
            const uchar* in = block.data() + rowBytes * r;
            auto* out =
                reinterpret_cast<QRgb*>(image.scanLine(header.topDown ? stored : height - 1 - stored));
            for (int x = 0; x < width; ++x, in += step)
                out[x] = 0xFF000000u | (quint32(in[2]) << 16) | (quint32(in[1]) << 8) | in[0];
        }
    }
    return {image, QString()};
}

} // namespace

PictureResult ReadBmp(QIODevice& device) {
    const QByteArray head = device.seek(0) ? device.read(64) : QByteArray();
    BmpHeader header;
    const QString broken =
        readHeader(reinterpret_cast<const uchar*>(head.constData()), head.size(), device.size(), header);
    if (!broken.isEmpty()) return {QImage(), broken};
    if (header.compression == 0 && (header.bits == 24 || header.bits == 32)) return readPlain(device, header);
    return ReadWithQt(device, "bmp");
}

bool WriteBmpTo(QIODevice& out, const QImage& rgb32) {
    const qint64 rowBytes = (qint64(rgb32.width()) * 24 + 31) / 32 * 4;
    const qint64 dataBytes = rowBytes * rgb32.height();
    uchar head[kFileHeaderBytes + kInfoHeaderBytes] = {'B', 'M'};
    putLittle(head + 2, quint32(sizeof head + dataBytes), 4);
    putLittle(head + 10, sizeof head, 4);
    putLittle(head + 14, kInfoHeaderBytes, 4);
    putLittle(head + 18, quint32(rgb32.width()), 4);
    putLittle(head + 22, quint32(rgb32.height()), 4);
    putLittle(head + 26, 1, 2);  // planes
    putLittle(head + 28, 24, 2); // bits a pixel; compression 0: none
    putLittle(head + 34, quint32(dataBytes), 4);
    putLittle(head + 38, 3780, 4); // 96 dots per inch, as pixels per metre
    putLittle(head + 42, 3780, 4);
    if (out.write(reinterpret_cast<const char*>(head), sizeof head) != qint64(sizeof head)) return false;

    // Rows go out bottom up, a block of them at a time.
    const int width = rgb32.width(), height = rgb32.height();
    const int blockRows = int(std::max<qint64>(1, kBlockBytes / rowBytes));
    std::vector<uchar> block(std::size_t(rowBytes * blockRows), 0);
    for (int done = 0; done < height;) {
        const int rows = std::min(blockRows, height - done);
        for (int r = 0; r < rows; ++r) {
            const auto* in = reinterpret_cast<const QRgb*>(rgb32.constScanLine(height - 1 - done - r));
            uchar* row = block.data() + rowBytes * r;
            for (int x = 0; x < width; ++x, row += 3)
                row[0] = uchar(qBlue(in[x])), row[1] = uchar(qGreen(in[x])), row[2] = uchar(qRed(in[x]));
        }
        if (out.write(reinterpret_cast<const char*>(block.data()), rowBytes * rows) != rowBytes * rows)
            return false;
        done += rows;
    }
    return true;
}

} // namespace quenda::detail

namespace quenda {

PictureResult DecodeBmp(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return detail::ReadBmp(buffer);
}

} // namespace quenda
