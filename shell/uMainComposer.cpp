// The main window's side of the wallpaper composer: its state of the background list and the settings,
// and the two picture buttons.
#include "uMain.h"

#include <QTextEdit>

namespace quenda {

// Part of finishing the start-up: the background list is empty until read, the question before
// installing comes from configSetBg.ini, then the list file is read with the last entry up next.
void TMainFrm::CreateComposerState() {
    Backgrounds = BackgroundSelection{};
    ReadConfigSetBg(ComposerState);
    LoadBGPicList(Backgrounds, false);
}

// The composer's windows and holder objects come after the main window's first paint and live as long.
void TMainFrm::CreateComposer() {
    m_composer = std::make_unique<Composer>(ComposerState);
}

Composer& TMainFrm::WallpaperComposer() {
    FinishStartUp();
    return *m_composer;
}

void TMainFrm::imgAppToDeskClick() {
    WallpaperComposer().InstallWallpaper(this, Backgrounds, m_rdtAbc->toPlainText(), MonthPicture);
}

void TMainFrm::imgAddToDeskClick() {
    WallpaperComposer().RunPictureSelection(this, Backgrounds);
}

} // namespace quenda
