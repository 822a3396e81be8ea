#pragma once
// The composer's settings object: the background folder, the background of the current installation, the
// note text, the note content picture (Content.bmp) and the installation of the wallpaper.

#include "WallpaperBackend.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace quenda {

// The note content picture: its height, the text box (right and bottom exclusive, the same for every
// width), and its colours.
inline constexpr int kContentHeight = 180;
inline constexpr int kContentTextLeft = 10, kContentTextTop = 10, kContentTextRight = 300,
                     kContentTextBottom = 170;
inline constexpr QRgb kContentFill = 0xFFB6DAE8;   // RGB (182, 218, 232)
inline constexpr QRgb kContentBorder = 0xFFFFFFDA; // RGB (255, 255, 218)
// "宋体" at 11 points on a 96 dots-per-inch screen: Windows rounds 11 * 96 / 72 to 15 pixels.
inline constexpr int kContentFontPixels = 15;
inline constexpr int kContentBorderWidth = 1;

// The sizes above are those of a background up to 1080 pixels high. A taller background gets everything
// the composer draws or places (the note box, its border, margins and text, the month picture's place)
// larger by its height over 1080, so a 3840 x 2160 wallpaper shows the note as a 1920 x 1080 one does.
inline constexpr int kDesignBackgroundHeight = 1080;
double WallpaperScale(int backgroundHeight);
// A length of the 1080-pixel layout at `scale`, in whole pixels (the length itself at scale 1).
int ScaledLength(int length, double scale);

class TDeskBGSetFrm {
public:
    // The background folder is fixed at creation: the program's source\DeskTopBG\ unless given.
    TDeskBGSetFrm();
    explicit TDeskBGSetFrm(const QString& backgroundFolder);

    const QString& BackgroundFolderPath() const { return m_backgroundFolder; }
    // A file of the background folder, its name matched without regard to case when it exists.
    QString FolderFile(const QString& name) const;

    // The note text, one item: the whole plain text of the note editor with CR LF line breaks.
    QStringList NoteLines;
    // The background picture of the current installation.
    QString BackgroundFile;

    // Puts `noteText` into NoteLines as its only item; every kind of line break becomes CR LF.
    void CopyNoteText(const QString& noteText);

    // The note content picture `Width` x 180 of NoteLines: fill, border and the text drawn as written (an
    // ampersand is an ampersand), wrapped at words and cut off at the text box. At a `scale` above 1 its
    // height, border, text box and font grow by it (Width is the caller's). Null when Width is not a
    // usable picture width.
    QImage DrawContentPicture(int Width, double scale = 1.0) const;
    // Draws it and writes it as Content.bmp. False, with the reason, when it cannot be written.
    bool MakeContentPicture(int Width, QString* error = nullptr);

    // Installs the picture at `Path` as the desktop wallpaper, stretched.
    WallpaperResult SetDeskWallpaper(const QString& Path);

private:
    QString m_backgroundFolder;
};

} // namespace quenda
