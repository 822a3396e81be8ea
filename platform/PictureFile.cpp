#include "PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

namespace quenda {

namespace {

PictureResult failure(const QString& why) {
    return {QImage(), why};
}

std::filesystem::path nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString overLimits(qint64 width, qint64 height) {
    return QStringLiteral("picture of %1 x %2 pixels is over the limits").arg(width).arg(height);
}

// BMP and PNG through Qt's own readers, after their headers have told the size.
PictureResult readWithQt(const QString& path, const char* format) {
    QImageReader reader(path, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid()) return failure(QStringLiteral("unreadable %1 header").arg(format));
    if (!FitsPictureLimits(size.width(), size.height()))
        return failure(overLimits(size.width(), size.height()));
    // Our limits are checked; Qt's own (256 MB) would refuse pictures within them.
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    QImage image;
    if (!reader.read(&image))
        return failure(QStringLiteral("broken %1 file: %2").arg(format, reader.errorString()));
    image.convertTo(QImage::Format_RGB32);
    if (image.isNull()) return failure(QStringLiteral("out of memory"));
    return {image, QString()};
}

qint64 littleEndian(const QByteArray& bytes, int at, int count) {
    quint64 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return qint64(value);
}

// Qt's BMP reader fills the rows missing from a file that ends early; such a file is broken. The headers
// tell the size, and for uncompressed pictures how many bytes the rows take.
QString checkBmpHeader(const QByteArray& head, qint64 fileSize) {
    if (head.size() < 26) return QStringLiteral("broken BMP file: no header");
    const qint64 dataStart = littleEndian(head, 10, 4), headerSize = littleEndian(head, 14, 4);
    qint64 width = 0, height = 0, bits = 0, compression = 0;
    if (headerSize == 12) { // the old core header: 16-bit sizes
        width = littleEndian(head, 18, 2), height = littleEndian(head, 20, 2),
        bits = littleEndian(head, 24, 2);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = qint32(littleEndian(head, 18, 4)), height = qint32(littleEndian(head, 22, 4));
        bits = littleEndian(head, 28, 2), compression = littleEndian(head, 30, 4);
    } else {
        return QStringLiteral("broken BMP file: unknown header");
    }
    height = std::abs(height); // negative: rows stored top down
    if (!FitsPictureLimits(width, height)) return overLimits(width, height);
    const bool uncompressed = compression == 0 || compression == 3;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    if (uncompressed && fileSize < dataStart + rowBytes * height)
        return QStringLiteral("broken BMP file: it ends early");
    return {};
}

PictureResult readBmp(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return failure(QStringLiteral("cannot open the file"));
    const QString broken = checkBmpHeader(file.read(34), file.size());
    file.close();
    if (!broken.isEmpty()) return failure(broken);
    return readWithQt(path, "bmp");
}

std::optional<QByteArray> readCompressed(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open the file");
        return std::nullopt;
    }
    if (file.size() > kMaxCompressedPictureBytes) {
        *error = QStringLiteral("file too large for a picture");
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read the file");
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool FitsPictureLimits(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

PictureKind PictureKindOf(const QByteArray& firstBytes) {
    if (firstBytes.startsWith("BM")) return PictureKind::Bmp;
    if (firstBytes.startsWith("\x89PNG\r\n\x1a\n")) return PictureKind::Png;
    if (firstBytes.startsWith("\xFF\xD8\xFF")) return PictureKind::Jpeg;
    if (firstBytes.startsWith("GIF87a") || firstBytes.startsWith("GIF89a")) return PictureKind::Gif;
    return PictureKind::Unknown;
}

PictureResult ReadPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return failure(QStringLiteral("cannot open the file"));
    const PictureKind kind = PictureKindOf(file.read(8));
    file.close();
    QString error;
    switch (kind) {
    case PictureKind::Bmp:
        return readBmp(path);
    case PictureKind::Png:
        return readWithQt(path, "png");
    case PictureKind::Jpeg:
    case PictureKind::Gif: {
        const std::optional<QByteArray> bytes = readCompressed(path, &error);
        if (!bytes) return failure(error);
        return kind == PictureKind::Jpeg ? DecodeJpeg(*bytes) : DecodeGif(*bytes);
    }
    case PictureKind::Unknown:
        break;
    }
    return failure(QStringLiteral("not a BMP, PNG, JPEG or GIF file"));
}

namespace {

// Writes through `fill` into a temporary file beside `path`, then renames it over `path`.
bool replaceFile(const QString& path, const std::function<bool(QFile&)>& fill, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open()) return fail(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
    // A temporary file is private to its owner; the picture is an ordinary file, readable by the desktop.
    temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!fill(temporary) || !temporary.flush()) return fail(QStringLiteral("cannot write %1").arg(path));
    temporary.close();
    std::error_code code;
    std::filesystem::rename(nativePath(temporary.fileName()), nativePath(path), code);
    if (code)
        return fail(
            QStringLiteral("cannot replace %1: %2").arg(path, QString::fromStdString(code.message())));
    temporary.setAutoRemove(false); // it is the file now
    return true;
}

} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error) {
    return replaceFile(
        path, [&bytes](QFile& file) { return file.write(bytes) == bytes.size(); }, error);
}

bool ReplaceFileWithCopy(const QString& source, const QString& destination, QString* error) {
    const QFileInfo from(source), to(destination);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath()) return true;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("cannot read %1").arg(source);
        return false;
    }
    auto copy = [&input](QFile& output) {
        constexpr qint64 kChunk = 1 << 20;
        while (!input.atEnd()) {
            const QByteArray chunk = input.read(kChunk);
            if (chunk.isEmpty() || output.write(chunk) != chunk.size()) return false;
        }
        return input.error() == QFileDevice::NoError;
    };
    return replaceFile(destination, copy, error);
}

bool WriteBmp(const QImage& image, const QString& path, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // Qt writes 32-bit pictures as 24-bit BMP files; the composer's pictures carry no alpha.
    if (image.isNull() || !writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        if (error) *error = QStringLiteral("cannot encode the picture as BMP");
        return false;
    }
    return ReplaceFileContents(path, bytes, error);
}

bool WriteJpeg(const QImage& image, const QString& path, int quality, QString* error) {
    const QByteArray bytes = EncodeJpeg(image, quality, error);
    return !bytes.isEmpty() && ReplaceFileContents(path, bytes, error);
}

} // namespace quenda
