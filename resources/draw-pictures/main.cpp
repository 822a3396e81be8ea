// Draws the window pictures of the program into a folder (resources/pictures in the checkout). The pictures
// are committed; run this again after changing a drawing, then look at the results.
#include "AppLook.h"
#include "PictureStyle.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-pictures OUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "draw-pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = pictures::SaveChromeButtons(folder) && DrawMainWindowPictures(folder);
    if (!ok) std::fprintf(stderr, "draw-pictures: a picture could not be written\n");
    return ok ? 0 : 1;
}
