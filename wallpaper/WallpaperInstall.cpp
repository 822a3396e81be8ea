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

bool writeContent(const TDeskBGSetFrm& deskBGSet, const QImage& content, QString* error) {
    if (content.isNull()) return fail(error, QStringLiteral("cannot make the note content picture"));
    return WriteBmp(content, deskBGSet.FolderFile(QStringLiteral("Content.bmp")), error);
}

// Where the overlays go on a background: the 1080-pixel places, larger on a taller background.
struct Placement {
    double scale;
    int top() const { return ScaledLength(kOverlayTop, scale); }
    int rightMargin() const { return ScaledLength(kOverlayRightMargin, scale); }
};

// img1 onto img2 at `top`; the result goes to imgmix and the two slots are emptied, also on failure.
bool blendSlots(TMixPicFrm& mix, int top, const Placement& place, QString* error) {
    const bool blended =
        TMixPicFrm::BlendOverlay(mix.img1, mix.img2, top, kOverlayPercent, place.rightMargin());
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

// The month picture keeps its own size; its place and the note box below it follow the background.
bool composeWithMonth(const CompositionParts& parts, const QString& backgroundFile,
                      const QString& monthPicture, const QString& noteText, QString* error) {
    TMixPicFrm& mix = parts.mixPic;
    if (!load(mix.img1, monthPicture, error) || !load(mix.img2, backgroundFile, error)) return false;
    const Placement place{WallpaperScale(mix.img2.height())};
    parts.deskBGSet.CopyNoteText(noteText);
    const int monthHeight = mix.img1.height();
    const QImage content = parts.deskBGSet.DrawContentPicture(mix.img1.width(), place.scale);
    if (!writeContent(parts.deskBGSet, content, error) || !blendSlots(mix, place.top(), place, error))
        return false;
    if (NoteHasText(noteText)) { // otherwise the note box, though written, is not used
        mix.img1 = content;
        mix.img2 = std::move(mix.imgmix); // blended in place, not copied
        if (!blendSlots(mix, monthHeight + place.top(), place, error)) return false;
    }
    parts.preview.imgPreview = mix.imgmix;
    return true;
}

bool composeAlone(const CompositionParts& parts, const QString& backgroundFile, const QString& noteText,
                  QString* error) {
    TMixPicFrm& mix = parts.mixPic;
    if (!load(mix.img2, backgroundFile, error)) return false;
    const Placement place{WallpaperScale(mix.img2.height())};
    parts.deskBGSet.CopyNoteText(noteText);
    mix.img1 = parts.deskBGSet.DrawContentPicture(ScaledLength(kContentWidthAlone, place.scale), place.scale);
    if (!writeContent(parts.deskBGSet, mix.img1, error) || !blendSlots(mix, place.top(), place, error))
        return false;
    parts.preview.imgPreview = mix.imgmix;
    return true;
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
    parts.preview.imgPreview = QImage();
    const bool ok = QFileInfo(monthPicture).isFile()
                        ? composeWithMonth(parts, backgroundFile, monthPicture, noteText, error)
                        : composeAlone(parts, backgroundFile, noteText, error);
    parts.mixPic.JvXPButton1Click(); // the slots hold nothing between installations
    return ok;
}

bool PassThroughJpeg(const TDeskBGSetFrm& deskBGSet, const QImage& composition, QString* error) {
    const QByteArray jpeg = EncodeJpeg(composition, kWallpaperJpegQuality, error);
    if (jpeg.isEmpty() || !ReplaceFileContents(deskBGSet.FolderFile(QStringLiteral("Mix.Jpg")), jpeg, error))
        return false;
    const PictureResult decoded = DecodeJpeg(jpeg); // the bytes of Mix.Jpg
    if (!decoded.ok()) return fail(error, QStringLiteral("Mix.Jpg: ") + decoded.error);
    return WriteBmp(decoded.image, deskBGSet.FolderFile(QStringLiteral("Mix.bmp")), error);
}

QString WallpaperFile(const TDeskBGSetFrm& deskBGSet) {
    return deskBGSet.FolderFile(QStringLiteral("Mix.Bmp"));
}

void StepBackAfterInstall(BackgroundSelection& selection) {
    selection.BGIndex -= 1;
    if (selection.BGIndex <= 0) selection.BGIndex = std::max(0, int(selection.PicBGList.size()) - 1);
}

} // namespace quenda
