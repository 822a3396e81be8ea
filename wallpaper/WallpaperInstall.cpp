#include "WallpaperInstall.h"

#include "PictureFile.h"

#include <QFileInfo>

#include <algorithm>

namespace quenda {

namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

bool load(QImage& slot, const QString& file, QString* error) {
    PictureResult picture = ReadPicture(file);
    if (!picture.ok()) return fail(error, QFileInfo(file).fileName() + QStringLiteral(": ") + picture.error);
    slot = std::move(picture.image);
    return true;
}

// img1 onto img2 at `top`; the result goes to imgmix and the two slots are emptied, also on failure.
bool blendSlots(TMixPicFrm& mix, int top, QString* error) {
    const bool blended = TMixPicFrm::BlendOverlay(mix.img1, mix.img2, top, kOverlayPercent);
    if (blended) mix.imgmix = mix.img2;
    const QSize overlay = mix.img1.size(), base = mix.img2.size();
    mix.JvXPButton1Click();
    if (!blended)
        return fail(error, QStringLiteral("a %1 x %2 picture at row %3 does not fit on a %4 x %5 background")
                               .arg(overlay.width())
                               .arg(overlay.height())
                               .arg(top)
                               .arg(base.width())
                               .arg(base.height()));
    return true;
}

bool composeWithMonth(const CompositionParts& parts, const QString& backgroundFile,
                      const QString& monthPicture, const QString& noteText, QString* error) {
    TMixPicFrm& mix = parts.mixPic;
    const QString mixFile = parts.deskBGSet.FolderFile(QStringLiteral("Mix.bmp"));
    if (!load(mix.img1, monthPicture, error)) return false;
    parts.deskBGSet.CopyNoteText(noteText);
    if (!parts.deskBGSet.MakeContentPicture(mix.img1.width(), error)) return false;
    if (!load(mix.img2, backgroundFile, error)) return false;
    const int monthHeight = mix.img1.height();
    if (!blendSlots(mix, kOverlayTop, error) || !WriteBmp(mix.imgmix, mixFile, error)) return false;
    if (!NoteHasText(noteText)) return true; // the note box, though written, is not used
    if (!load(mix.img1, parts.deskBGSet.FolderFile(QStringLiteral("Content.bmp")), error) ||
        !load(mix.img2, mixFile, error) || !blendSlots(mix, monthHeight + kOverlayTop, error))
        return false;
    parts.preview.imgPreview = mix.imgmix;
    return WriteBmp(parts.preview.imgPreview, mixFile, error);
}

bool composeAlone(const CompositionParts& parts, const QString& backgroundFile, const QString& noteText,
                  QString* error) {
    TMixPicFrm& mix = parts.mixPic;
    parts.deskBGSet.CopyNoteText(noteText);
    if (!parts.deskBGSet.MakeContentPicture(kContentWidthAlone, error) ||
        !load(mix.img1, parts.deskBGSet.FolderFile(QStringLiteral("Content.bmp")), error) ||
        !load(mix.img2, backgroundFile, error) || !blendSlots(mix, kOverlayTop, error))
        return false;
    parts.preview.imgPreview = mix.imgmix;
    return WriteBmp(parts.preview.imgPreview, parts.deskBGSet.FolderFile(QStringLiteral("Mix.bmp")), error);
}

} // namespace

std::optional<QString> ChooseBackground(BackgroundSelection& selection, const TDeskBGSetFrm& deskBGSet) {
    const int count = int(selection.PicBGList.size());
    const int i = selection.BGIndex;
    if (i < 0 || i >= count) return std::nullopt; // no list (it could not be read): nothing to use
    const QString file = deskBGSet.FolderFile(selection.PicBGList[std::size_t(i)].PicName);
    if (QFileInfo(file).isFile()) return file;
    if (i != 0) selection.BGIndex = i + 1 < count ? i + 1 : 1;
    return std::nullopt;
}

bool ComposeWallpaper(const CompositionParts& parts, const QString& backgroundFile,
                      const QString& monthPicture, const QString& noteText, QString* error) {
    parts.deskBGSet.BackgroundFile = backgroundFile;
    const bool ok = QFileInfo(monthPicture).isFile()
                        ? composeWithMonth(parts, backgroundFile, monthPicture, noteText, error)
                        : composeAlone(parts, backgroundFile, noteText, error);
    parts.mixPic.JvXPButton1Click(); // the slots hold nothing between installations
    return ok;
}

bool PassThroughJpeg(const TDeskBGSetFrm& deskBGSet, QString* error) {
    QImage mix;
    if (!load(mix, deskBGSet.FolderFile(QStringLiteral("Mix.bmp")), error)) return false;
    const QString jpegFile = deskBGSet.FolderFile(QStringLiteral("Mix.Jpg"));
    if (!WriteJpeg(mix, jpegFile, kWallpaperJpegQuality, error)) return false;
    const BmpConversion back = JpgToBmp(jpegFile);
    if (!back.ok()) return fail(error, back.Error);
    return true;
}

QString WallpaperFile(const TDeskBGSetFrm& deskBGSet) {
    return deskBGSet.FolderFile(QStringLiteral("Mix.Bmp"));
}

void StepBackAfterInstall(BackgroundSelection& selection) {
    selection.BGIndex -= 1;
    if (selection.BGIndex <= 0) selection.BGIndex = std::max(0, int(selection.PicBGList.size()) - 1);
}

} // namespace quenda
