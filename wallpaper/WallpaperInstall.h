#pragma once
// The steps of one wallpaper installation after the confirmation: choosing the background, composing the
// month picture and the note box onto it (writing Content.bmp), the passage through JPEG (Mix.Jpg, then
// Mix.bmp) and the move of the list position after the wallpaper is installed. The button runs them in
// this order; tools/wallpaper-compose runs the same functions.
//
// Mix.bmp is the installed wallpaper's file, which desktops watch: it is replaced once, by the finished
// picture, so a failure half way never shows a half-made wallpaper. The composition between the steps
// stays in memory; reading back the lossless BMP files just written would give the same pixels.

#include "uDeskBGSet.h"
#include "uGlobal.h"
#include "uPicMix.h"
#include "uPicPreview.h"

#include <optional>

namespace quenda {

// Where the composition goes: 30 rows from the top, the note box right below the month picture, both at
// half strength.
inline constexpr int kOverlayTop = 30;
inline constexpr int kOverlayPercent = 50;
// The note box's width when there is no month picture.
inline constexpr int kContentWidthAlone = 308;

// The composer's three holder objects, as the installation uses them.
struct CompositionParts {
    TDeskBGSetFrm& deskBGSet;
    TMixPicFrm& mixPic;
    TPicPreviewFrm& preview;
};

// The background file of entry BGIndex. When it does not exist, BGIndex moves one entry on (from the
// last entry to entry 1; at entry 0 it stays) and there is nothing to use this time.
std::optional<QString> ChooseBackground(BackgroundSelection& selection, const TDeskBGSetFrm& deskBGSet);

// Blends the month picture (when `monthPicture` names an existing file) and the note box onto the
// background; the result is in the preview's slot imgPreview. Content.bmp is written every time the
// pictures can be read. With a month picture the note box is as wide as it and goes below it, and only
// when the note holds text; without one the 308-pixel box is used whatever the note. On a background
// taller than 1080 pixels the box (but not the month picture) and both places grow by WallpaperScale.
// False, with the reason, when a picture cannot be read or written or the background is too small for
// what goes onto it.
bool ComposeWallpaper(const CompositionParts& parts, const QString& backgroundFile,
                      const QString& monthPicture, const QString& noteText, QString* error);

// The composition through JPEG (quality 90, baseline): written as Mix.Jpg, decoded again and written as
// Mix.bmp, which then holds the wallpaper.
bool PassThroughJpeg(const TDeskBGSetFrm& deskBGSet, const QImage& composition, QString* error);

// The wallpaper file as the installation names it.
QString WallpaperFile(const TDeskBGSetFrm& deskBGSet);

// After an installation the list position goes one entry back, from entry 1 (or 0) to the last entry.
void StepBackAfterInstall(BackgroundSelection& selection);

} // namespace quenda
