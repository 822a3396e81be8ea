// Draws the window pictures of the program into a folder (resources/pictures in the checkout), and with a
// second argument the default background A1.bmp to that path (resources/A1.bmp). The pictures are
// committed; run this again after changing a drawing, then look at the results.
#include "AppLook.h"
#include "PictureStyle.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: draw-pictures OUT_FOLDER [A1.bmp]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "draw-pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = pictures::SaveChromeButtons(folder) && DrawMainWindowPictures(folder) &&
                    DrawComposerPictures(folder) &&
                    (argc < 3 || DrawDefaultBackground(QString::fromLocal8Bit(argv[2])));
    if (!ok) std::fprintf(stderr, "draw-pictures: a picture could not be written\n");
    return ok ? 0 : 1;
}
