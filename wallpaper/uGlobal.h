#pragma once
// What the composer shares with the main window: the background list and its file, the composer's
// settings and their file, the converters that make BMP files of added pictures, and the messages.

#include <QString>
#include <QStringList>

#include <vector>

namespace quenda {

// The default background; it ships in the background folder.
inline const QString kDefaultBackground = QStringLiteral("A1.bmp");

// The messages of the composer, shown in a plain message box.
inline const QString kAddFailedMessage = QStringLiteral("添加失败，请重试！");
inline const QString kAddPictureErrorMessage = QStringLiteral("添加背景图片异常，请重试！");
inline const QString kComposeFailedMessage = QStringLiteral("合成壁纸失败，请重试！");
inline const QString kListFileFailedMessage = QStringLiteral("读取背景图片列表失败，请重试！");

// The background list file and the background folder, in the program folder.
QString BGPicListFile();
QString BackgroundFolder();

// One entry of the background list: its position (0-based) and the picture's file name in the
// background folder. Entry 0 is the current picture, entries 1 to n - 1 the pictures the user chose.
struct TPicBGList {
    int Index = 0;
    QString PicName;
};

// The main window's state of the background list. BGIndex is the entry the next installation uses.
struct BackgroundSelection {
    QString CurBGPic;
    std::vector<TPicBGList> PicBGList;
    int BGIndex = 0;
};

// Reads the list file into `selection`. With SelectCurrent, BGIndex goes to the last entry that names
// the current picture, otherwise to the last entry. A missing file is created with the default picture
// twice; a file without lines changes nothing. False when the file exists but cannot be read, or cannot
// be created (the defaults are then in memory all the same).
bool LoadBGPicList(BackgroundSelection& selection, bool SelectCurrent);

// The outcome of making a BMP file of a picture: the BMP file to use (empty when the extension is not
// one of ours), or why the picture could not be converted.
struct BmpConversion {
    QString BmpFile;
    QString Error;
    bool ok() const { return Error.isEmpty(); }
};

// Chooses by the file name's extension (compared in lower case): .bmp is used as it is, .jpg and .jpeg go
// through JpgToBmp, .gif through GifToBmp; any other extension gives an empty BmpFile.
BmpConversion PicToBmp(const QString& FileName);
// Decode the picture and save it as BMP beside it, under the same name with the extension ".bmp".
BmpConversion JpgToBmp(const QString& JpgFile);
BmpConversion GifToBmp(const QString& GifFile);
// `file` with the extension of its file name (from the last dot; appended when there is none) ".bmp".
QString BmpNameFor(const QString& file);

// Whether to ask before installing a wallpaper, the confirmation window's last answer (1 = confirmed),
// and the file that keeps the first between runs.
struct ComposerSettings {
    bool AskBeforeSet = true;
    int SetAnswer = 0;
    QString SetBgIniFile;
};

// The main window's start-up reading of configSetBg.ini: a first line above 0 asks, 0 or below does not.
// A missing file is created with "1"; an empty file or one whose first line is not a whole number asks,
// and is written anew when the user next turns the question off.
void ReadConfigSetBg(ComposerSettings& settings);

// True when the note holds more than blanks and control characters (codes up to 32).
bool NoteHasText(const QString& note);

} // namespace quenda
