// Runs what the "添加到桌面" button runs from Content.bmp to the final Mix.bmp, without the confirmation and
// without installing anything, and leaves the files the button leaves in the background folder.
// Usage: wallpaper-compose [--month FILE] [--keep-before-jpeg] FOLDER BACKGROUND NOTE
//   FOLDER      the background folder: Content.bmp, Mix.bmp and Mix.Jpg are written there
//   BACKGROUND  the background picture's file name in FOLDER (as the background list names it)
//   NOTE        the note: an RTF document as the note store keeps it, or plain text (UTF-8 or GBK)
//   --month FILE        the month picture; without it the note box is used alone
//   --keep-before-jpeg  also keep the composition from before the JPEG passage, as Mix.before-jpeg.bmp
#include "AppLook.h"
#include "PictureFile.h"
#include "RtfCodec.h"
#include "WallpaperInstall.h"

#include <QFile>
#include <QGuiApplication>
#include <QStringDecoder>
#include <QTextDocument>

#include <cstdio>

namespace {

int fail(const QString& why) {
    std::fprintf(stderr, "wallpaper-compose: %s\n", qUtf8Printable(why));
    return 1;
}

// The note's plain text as the editor shows it.
std::optional<QString> readNote(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (quenda::isRtf(bytes)) {
        QTextDocument document;
        quenda::readRtf(bytes, document);
        return quenda::documentPlainText(document);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return QString(QStringDecoder("GB18030").decode(bytes));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    quenda::InstallFontSubstitutions();
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString month;
    const qsizetype monthAt = args.indexOf("--month");
    if (monthAt >= 0 && monthAt + 1 < args.size()) {
        month = args.at(monthAt + 1);
        args.remove(monthAt, 2);
    }
    const bool keepBeforeJpeg = args.removeAll("--keep-before-jpeg") > 0;
    if (args.size() != 3)
        return fail("usage: wallpaper-compose [--month FILE] [--keep-before-jpeg] FOLDER BACKGROUND NOTE");

    quenda::TDeskBGSetFrm deskBGSet(args.at(0));
    quenda::TMixPicFrm mixPic;
    quenda::TPicPreviewFrm preview;
    const std::optional<QString> note = readNote(args.at(2));
    if (!note) return fail("cannot read the note " + args.at(2));
    QString error;
    const QString background = deskBGSet.FolderFile(args.at(1));
    if (!quenda::ComposeWallpaper({deskBGSet, mixPic, preview}, background, month, *note, &error))
        return fail("composition failed: " + error);
    if (keepBeforeJpeg &&
        !quenda::WriteBmp(preview.imgPreview, deskBGSet.FolderFile("Mix.before-jpeg.bmp"), &error))
        return fail("cannot keep the composition before the JPEG passage: " + error);
    if (!quenda::PassThroughJpeg(deskBGSet, preview.imgPreview, &error))
        return fail("JPEG passage failed: " + error);
    std::printf("%s\n", qUtf8Printable(quenda::WallpaperFile(deskBGSet)));
    return 0;
}
