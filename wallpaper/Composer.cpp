#include "Composer.h"

#include "Dialogs.h"
#include "WallpaperInstall.h"
#include "uDeskBGSet.h"
#include "uInfoFrm.h"
#include "uPicMix.h"
#include "uPicPreview.h"
#include "uPicSel.h"

namespace quenda {

Composer::Composer(ComposerSettings& settings)
    : m_settings(settings), m_deskBGSet(std::make_unique<TDeskBGSetFrm>()),
      m_picPreview(std::make_unique<TPicPreviewFrm>()), m_picSel(std::make_unique<TPicSelFrm>()),
      m_infor(std::make_unique<TInforFrm>(settings)), m_mixPic(std::make_unique<TMixPicFrm>()) {}

Composer::~Composer() = default;

void Composer::RunPictureSelection(QWidget* mainWindow, BackgroundSelection& selection) {
    m_picSel->CurPic = selection.CurBGPic;
    if (!m_picSel->ShowSelection(mainWindow)) return ShowMessage(mainWindow, kListFileFailedMessage);
    const bool changed = m_picSel->CurPic != selection.CurBGPic;
    if (changed) selection.CurBGPic = m_picSel->CurPic;
    if (!LoadBGPicList(selection, changed)) ShowMessage(mainWindow, kListFileFailedMessage);
}

InstallOutcome Composer::InstallWallpaper(QWidget* mainWindow, BackgroundSelection& selection,
                                          const QString& notePlainText, const QString& monthPicturePath) {
    if (m_settings.AskBeforeSet) {
        m_infor->ShowConfirmation(mainWindow);
        if (m_settings.SetAnswer == 0) return InstallOutcome::Declined;
    }
    const std::optional<QString> background = ChooseBackground(selection, *m_deskBGSet);
    if (!background) return InstallOutcome::BackgroundMissing;
    QString why; // for developers, on standard error; the message box says what the user needs to know
    const CompositionParts parts{*m_deskBGSet, *m_mixPic, *m_picPreview};
    if (!ComposeWallpaper(parts, *background, monthPicturePath, notePlainText, &why) ||
        !PassThroughJpeg(*m_deskBGSet, m_picPreview->imgPreview, &why)) {
        qWarning("wallpaper: composition failed: %s", qUtf8Printable(why));
        ShowMessage(mainWindow, kComposeFailedMessage);
        return InstallOutcome::ComposeFailed;
    }
    const WallpaperResult installed = m_deskBGSet->SetDeskWallpaper(WallpaperFile(*m_deskBGSet));
    if (!installed.ok) {
        qWarning("wallpaper: installation failed: %s", qUtf8Printable(installed.detail));
        ShowMessage(mainWindow, installed.message);
        return InstallOutcome::InstallFailed;
    }
    StepBackAfterInstall(selection);
    return InstallOutcome::Installed;
}

} // namespace quenda
