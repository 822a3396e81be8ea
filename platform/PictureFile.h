#pragma once
// Picture files: JPEG through libjpeg, GIF through giflib, BMP and PNG through QImage. Every picture comes
// back as a 32-bit QImage without alpha (Format_RGB32: blue, green, red and an unused fourth byte), the
// form the composer mixes on; BMP files are written with 24 bits a pixel.
//
// A picture's size is read from its header and checked against the limits below before any pixel memory
// is taken, so a small file that claims an enormous picture costs nothing. Every failure comes back as a
// value with a short English reason for developers; the windows show their own fixed messages.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quenda {

// Larger pictures are refused: no desktop needs them, and a forged header must not make us allocate.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr qint64 kMaxPicturePixels = 100'000'000;
// JPEG and GIF files are read into memory whole; a larger file cannot hold a picture within the limits.
inline constexpr qint64 kMaxCompressedPictureBytes = 256 * 1024 * 1024;

// JPEG quality of the wallpaper's passage through JPEG.
inline constexpr int kWallpaperJpegQuality = 90;

struct PictureResult {
    QImage image;  // Format_RGB32; null on failure
    QString error; // why the picture could not be read; empty when it was
    bool ok() const { return error.isEmpty(); }
};

// True when a picture of `width` x `height` is within the limits above (and not empty).
bool FitsPictureLimits(qint64 width, qint64 height);

// The kind of picture the bytes start with, told by content, not by the file name's extension.
enum class PictureKind { Unknown, Bmp, Png, Jpeg, Gif };
PictureKind PictureKindOf(const QByteArray& firstBytes);

// Reads a BMP, PNG, JPEG or GIF file, whatever its extension says. A GIF gives its first frame at the
// file's logical screen size, transparent and uncovered pixels white.
PictureResult ReadPicture(const QString& path);

// The same on bytes in memory, one kind each; the file reader above uses them too.
PictureResult DecodeJpeg(const QByteArray& bytes);
PictureResult DecodeGif(const QByteArray& bytes);
PictureResult DecodeBmp(const QByteArray& bytes);

// A JPEG file of the picture: colour, baseline, the encoder's defaults but for `quality`. Empty on failure,
// with the reason in `error`.
QByteArray EncodeJpeg(const QImage& image, int quality, QString* error = nullptr);

// Writes the picture as a 24-bit BMP or as a JPEG file, over the file that is there. False on failure,
// with the reason; the file may then be damaged.
bool WriteBmp(const QImage& image, const QString& path, QString* error = nullptr);
bool WriteJpeg(const QImage& image, const QString& path, int quality, QString* error = nullptr);

// Writes `bytes` over the file at `path` (creating it) and cuts it to their length.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies `source` over `destination` in one step: a temporary file beside it, then a rename, so a failed
// copy leaves the destination as it was. Copying a file onto itself leaves it untouched.
bool ReplaceFileWithCopy(const QString& source, const QString& destination, QString* error = nullptr);

} // namespace quenda
