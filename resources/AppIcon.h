#pragma once
// The program's icon, in the window pictures' light-blue style: a calendar leaf with a red top strip and
// a large day number. The hicolor icons of the menu entry are this drawing with the logo's day; the tray
// icon is the same drawing with today's day, so the two look like one program.

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QString>

namespace quenda {

// Draws the icon into the square (0, 0, size, size) of `painter`, with `day` ("9", "28") on the leaf.
void DrawAppIcon(QPainter& painter, double size, const QString& day);

// The icon drawn on a transparent square picture of `pixels` a side.
QImage AppIconImage(int pixels, const QString& day);

// The icon at the sizes windows, task bars and trays ask for (16 to 64 pixels), each drawn when it is
// first asked for: a tray asks for one size, and nothing is drawn where nothing shows it.
QIcon AppIconSet(const QString& day);

// The windows' icon: the drawing with the logo's day as the desktop's menu shows it, its hicolor pictures
// built into the program and read when the window system asks for them.
QIcon ProgramIcon();

// The day the menu entry's icon and the window's icon show, the logo's day.
inline const QString kAppIconDay = QStringLiteral("9");

} // namespace quenda
