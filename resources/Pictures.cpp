#include "Pictures.h"

#include <QFile>

namespace quenda {

QPixmap WindowPicture(const QString& name, qreal devicePixelRatio) {
    const QString base = QStringLiteral(":/pictures/") + name;
    if (devicePixelRatio > 1.0 && QFile::exists(base + QStringLiteral("@2x.png"))) {
        QPixmap sharp(base + QStringLiteral("@2x.png"));
        sharp.setDevicePixelRatio(2.0);
        return sharp;
    }
    return QPixmap(base + QStringLiteral(".png"));
}

} // namespace quenda
