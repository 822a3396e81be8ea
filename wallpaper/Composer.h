#pragma once
// The wallpaper composer as the main window uses it: its windows and holder objects, created once in the
// program's order (TDeskBGSetFrm, TPicPreviewFrm, TPicSelFrm, TInforFrm, TMixPicFrm) and kept to the end,
// and the two picture buttons' sequences. Nothing here throws; failures are shown in a message box.

#include "uGlobal.h"

#include <QString>

#include <memory>

class QWidget;

namespace quenda {

class TDeskBGSetFrm;
class TInforFrm;
class TMixPicFrm;
class TPicPreviewFrm;
class TPicSelFrm;

// How an installation ended.
enum class InstallOutcome {
    Declined,          // the confirmation window was answered "no"
    BackgroundMissing, // the list's background file does not exist (BGIndex may have moved on)
    ComposeFailed,     // "合成壁纸失败，请重试！" was shown; BGIndex unchanged
    InstallFailed,     // the desktop refused or offers no way; the message named the file
    Installed,         // the wallpaper is set and BGIndex went one entry back
};

class Composer {
public:
    // `settings` are the main window's (read at its creation by ReadConfigSetBg) and outlive the composer.
    explicit Composer(ComposerSettings& settings);
    ~Composer();
    Composer(const Composer&) = delete;
    Composer& operator=(const Composer&) = delete;

    // "选择壁纸": the selection window, then the list is read again (the window writes every change).
    void RunPictureSelection(QWidget* mainWindow, BackgroundSelection& selection);

    // "添加到桌面": confirmation, background, composition of the month picture (when `monthPicturePath`
    // exists) and the note's plain text, passage through JPEG, installation, move of BGIndex.
    InstallOutcome InstallWallpaper(QWidget* mainWindow, BackgroundSelection& selection,
                                    const QString& notePlainText, const QString& monthPicturePath);

    TDeskBGSetFrm& DeskBGSet() { return *m_deskBGSet; }
    TPicPreviewFrm& PicPreview() { return *m_picPreview; }
    TPicSelFrm& PicSel() { return *m_picSel; }
    TInforFrm& Infor() { return *m_infor; }
    TMixPicFrm& MixPic() { return *m_mixPic; }

private:
    ComposerSettings& m_settings;
    std::unique_ptr<TDeskBGSetFrm> m_deskBGSet;
    std::unique_ptr<TPicPreviewFrm> m_picPreview;
    std::unique_ptr<TPicSelFrm> m_picSel;
    std::unique_ptr<TInforFrm> m_infor;
    std::unique_ptr<TMixPicFrm> m_mixPic;
};

} // namespace quenda
