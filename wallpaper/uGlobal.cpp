#include "uGlobal.h"

#include "LineListFile.h"
#include "PictureFile.h"
#include "ProgramFolder.h"

#include <QFileInfo>

#include <algorithm>

namespace quenda {

namespace {

// The extension of the file name from its last dot, lower case in A to Z only; empty without a dot.
QString extensionOf(const QString& file) {
    const QString name = QFileInfo(file).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return {};
    QString extension = name.mid(dot);
    for (QChar& c : extension)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
    return extension;
}

BmpConversion convertToBmp(const QString& file) {
    const PictureResult picture = ReadPicture(file);
    if (!picture.ok()) return {QString(), picture.error};
    const QString bmp = BmpNameFor(file);
    QString error;
    if (!WriteBmp(picture.image, bmp, &error)) return {QString(), error};
    return {bmp, QString()};
}

void setDefaultList(BackgroundSelection& selection) {
    selection.CurBGPic = kDefaultBackground;
    selection.PicBGList = {{0, kDefaultBackground}, {1, kDefaultBackground}};
    selection.BGIndex = 0;
}

} // namespace

QString BGPicListFile() {
    return DataPath(QStringLiteral("Data\\BGPicList.ini"));
}

QString BackgroundFolder() {
    return DataPath(QStringLiteral("source\\DeskTopBG"));
}

bool LoadBGPicList(BackgroundSelection& selection, bool SelectCurrent) {
    const QString listFile = BGPicListFile();
    if (!QFileInfo::exists(listFile)) {
        setDefaultList(selection);
        return WriteLineList(listFile, {kDefaultBackground, kDefaultBackground});
    }
    const std::optional<QStringList> lines = ReadLineList(listFile);
    if (!lines) return false;
    if (lines->isEmpty()) return true;
    const int count = int(lines->size());
    selection.CurBGPic = lines->first();
    selection.PicBGList.assign(std::size_t(count), TPicBGList{});
    for (int i = 0; i < count; ++i) {
        selection.PicBGList[std::size_t(i)] = {i, lines->at(i)};
        if (lines->at(i) == selection.CurBGPic) selection.BGIndex = SelectCurrent ? i : count - 1;
    }
    return true;
}

QString BmpNameFor(const QString& file) {
    const qsizetype nameStart = file.size() - QFileInfo(file).fileName().size();
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return (dot >= nameStart ? file.left(dot) : file) + QStringLiteral(".bmp");
}

BmpConversion PicToBmp(const QString& FileName) {
    const QString extension = extensionOf(FileName);
    if (extension == QLatin1String(".bmp")) return {FileName, QString()};
    if (extension == QLatin1String(".jpg") || extension == QLatin1String(".jpeg")) return JpgToBmp(FileName);
    if (extension == QLatin1String(".gif")) return GifToBmp(FileName);
    return {};
}

// The decoders go by the file's content, so a JPEG named .gif (or the reverse) converts all the same.
BmpConversion JpgToBmp(const QString& JpgFile) {
    return convertToBmp(JpgFile);
}

BmpConversion GifToBmp(const QString& GifFile) {
    return convertToBmp(GifFile);
}

void ReadConfigSetBg(ComposerSettings& settings) {
    settings.AskBeforeSet = true;
    settings.SetAnswer = 0;
    settings.SetBgIniFile = DataPath(QStringLiteral("data\\configSetBg.ini"));
    if (!QFileInfo::exists(settings.SetBgIniFile)) {
        WriteLineList(settings.SetBgIniFile, {QStringLiteral("1")}); // a read-only folder: ask every run
        return;
    }
    const std::optional<QStringList> lines = ReadLineList(settings.SetBgIniFile);
    const std::optional<int> ask = lines ? LineAsInt(*lines, 0) : std::nullopt;
    if (ask) settings.AskBeforeSet = *ask > 0;
}

bool NoteHasText(const QString& note) {
    return std::any_of(note.begin(), note.end(), [](QChar c) { return c.unicode() > 32; });
}

} // namespace quenda
