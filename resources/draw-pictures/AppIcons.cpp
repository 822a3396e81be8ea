// The program's icon for the desktop's menu: an SVG and PNGs of the hicolor theme's sizes, all of one
// drawing (AppIcon.h) with the logo's day.
#include "AppIcon.h"
#include "PictureStyle.h"

#include <QSvgGenerator>

namespace {

const QString kIconName = QStringLiteral("quenda-calendar");
constexpr int kSvgSize = 256;

bool saveSvg(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kSvgSize, kSvgSize));
    svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
    svg.setTitle(QStringLiteral("Quenda桌面日历"));
    svg.setDescription(QStringLiteral("A calendar leaf with a red top strip and a day number"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    quenda::DrawAppIcon(painter, kSvgSize, quenda::kAppIconDay);
    return painter.end();
}

} // namespace

bool DrawAppIcons(const QString& folder) {
    bool ok = saveSvg(folder + "/" + kIconName + ".svg");
    for (int pixels : kAppIconSizes)
        ok &= quenda::AppIconImage(pixels, quenda::kAppIconDay)
                  .save(folder + QStringLiteral("/%1-%2.png").arg(kIconName).arg(pixels));
    return ok;
}
