#include "PictureFile.h"

#include "PictureCodecs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
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

std::optional<QByteArray> readCompressed(QFile& file, QString* error) {
    if (file.size() > kMaxCompressedPictureBytes) {
        *error = QStringLiteral("file too large for a picture");
        return std::nullopt;
    }
    QByteArray bytes = file.seek(0) ? file.readAll() : QByteArray();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read the file");
        return std::nullopt;
    }
    return bytes;
}

} // namespace

namespace detail {

QString OverLimits(qint64 width, qint64 height) {
    return QStringLiteral("picture of %1 x %2 pixels is over the limits").arg(width).arg(height);
}

PictureResult ReadWithQt(QIODevice& device, const char* format) {
    if (!device.seek(0)) return failure(QStringLiteral("cannot read the file"));
    QImageReader reader(&device, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid()) return failure(QStringLiteral("unreadable %1 header").arg(format));
    if (!FitsPictureLimits(size.width(), size.height()))
        return failure(OverLimits(size.width(), size.height()));
    // Our limits are checked; Qt's own (256 MB) would refuse pictures within them.
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    QImage image;
    if (!reader.read(&image))
        return failure(QStringLiteral("broken %1 file: %2").arg(format, reader.errorString()));
    image.convertTo(QImage::Format_RGB32);
    if (image.isNull()) return failure(QStringLiteral("out of memory"));
    return {image, QString()};
}

} // namespace detail

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
    QString error;
    switch (kind) {
    case PictureKind::Bmp:
        return detail::ReadBmp(file);
    case PictureKind::Png:
        return detail::ReadWithQt(file, "png");
    case PictureKind::Jpeg:
    case PictureKind::Gif: {
        const std::optional<QByteArray> bytes = readCompressed(file, &error);
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

// Writes through `fill` over the file at `path` (creating it), then cuts it to what was written. The file
// is not truncated first: on ext4 a file cut to nothing, or renamed over, is written out to the disk at
// once, which tripled the time of an installation. A picture is only ever read after it was written.
bool writeOver(const QString& path, const std::function<bool(QFile&)>& fill, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        if (error) *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    if (!fill(file) || !file.resize(file.pos()) || !file.flush()) {
        if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error) {
    return writeOver(
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
    if (image.isNull()) {
        if (error) *error = QStringLiteral("no picture to write");
        return false;
    }
    const QImage rgb32 = image.convertToFormat(QImage::Format_RGB32);
    return writeOver(
        path, [&rgb32](QFile& file) { return detail::WriteBmpTo(file, rgb32); }, error);
}

bool WriteJpeg(const QImage& image, const QString& path, int quality, QString* error) {
    const QByteArray bytes = EncodeJpeg(image, quality, error);
    return !bytes.isEmpty() && ReplaceFileContents(path, bytes, error);
}

} // namespace quenda
