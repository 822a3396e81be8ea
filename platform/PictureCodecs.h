#pragma once
// Inside the picture module: the pieces its source files share.

#include "PictureFile.h"

class QIODevice;

namespace quenda::detail {

QString OverLimits(qint64 width, qint64 height);

// BMP or PNG through Qt's reader from the start of `device` (open for reading), after its header has told
// the size.
PictureResult ReadWithQt(QIODevice& device, const char* format);

// A BMP file from the start of `device` (open for reading, of known size: a file or a buffer):
// uncompressed 24- and 32-bit pictures, the common case, are read here straight into the picture; the
// other kinds (palettes, bit fields, run lengths) through Qt.
PictureResult ReadBmp(QIODevice& device);

// Writes a Format_RGB32 picture to `out` as a 24-bit BMP file.
bool WriteBmpTo(QIODevice& out, const QImage& rgb32);

} // namespace quenda::detail
