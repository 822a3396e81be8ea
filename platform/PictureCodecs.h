#pragma once
// Inside the picture module: the pieces its source files share.

#include "PictureFile.h"

class QIODevice;

namespace quenda::detail {

QString OverLimits(qint64 width, qint64 height);

// BMP or PNG through Qt's reader, after its header has told the size.
PictureResult ReadWithQt(const QString& path, const char* format);

// A BMP file: uncompressed 24- and 32-bit pictures, the common case, are read here straight into the
// picture; the other kinds (palettes, bit fields, run lengths) through Qt.
PictureResult ReadBmpFile(const QString& path);

// Writes a Format_RGB32 picture to `out` as a 24-bit BMP file.
bool WriteBmpTo(QIODevice& out, const QImage& rgb32);

} // namespace quenda::detail
