// Draws the window pictures of the program into a folder (resources/pictures in the checkout), with a
// second argument the default background A1.bmp to that path (resources/A1.bmp), and with --icons DIR the
// program's icon for the desktop's menu (resources/icons). The pictures are committed; run this again
// after changing a drawing, then look at the results.
#include "AppLook.h"
#include "PictureStyle.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString icons;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--icons"));
        at >= 0 && at + 1 < arguments.size()) {
        icons = arguments[at + 1];
        arguments.remove(at, 2);
    }
    if (arguments.size() != 1 && arguments.size() != 2) {
        std::fprintf(stderr, "usage: draw-pictures OUT_FOLDER [A1.bmp] [--icons ICON_FOLDER]\n");
        return 2;
    }
    const QString folder = arguments[0];
    if (!QDir().mkpath(folder) || (!icons.isEmpty() && !QDir().mkpath(icons))) {
        std::fprintf(stderr, "draw-pictures: cannot create the output folders\n");
        return 1;
    }
    const bool ok = pictures::SaveChromeButtons(folder) && DrawMainWindowPictures(folder) &&
                    DrawComposerPictures(folder) &&
                    (arguments.size() < 2 || DrawDefaultBackground(arguments[1])) &&
                    (icons.isEmpty() || DrawAppIcons(icons));
    if (!ok) std::fprintf(stderr, "draw-pictures: a picture could not be written\n");
    return ok ? 0 : 1;
}
