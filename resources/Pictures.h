#pragma once
// The window pictures built into the program. Each is drawn at its size and at twice its size; the sharper
// one is chosen for screens scaled above 100 %.

#include <QPixmap>
#include <QString>

namespace quenda {

// The picture `name` (without extension) for a screen of `devicePixelRatio`. A null pixmap when the
// program has no picture of that name.
QPixmap WindowPicture(const QString& name, qreal devicePixelRatio);

} // namespace quenda
