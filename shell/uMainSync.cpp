// Sync with a calendar server: the options menu's "同步设置…" and "立即同步", the status line under the
// wallpaper picture, and the editor kept in step when a pull or a merge changes the day it shows.
#include "uMain.h"

#include "ChnCalendarPicker.h"
#include "SingleInstance.h"
#include "SyncCommand.h"
#include "SyncDialog.h"
#include "SyncScheduler.h"
#include "TestReport.h"
#include "uDM.h"

#include <QLabel>
#include <QTextEdit>

namespace quenda {

void TMainFrm::CreateSync() {
    m_lblSync = new QLabel(findChild<QWidget*>(QStringLiteral("pnlLeft")));
    m_lblSync->setObjectName(QStringLiteral("lblSync"));
    m_lblSync->setGeometry(10, 372, 282, 20); // under the wallpaper picture
    m_lblSync->setFont(MakeFont(QStringLiteral("宋体"), 9));
    m_lblSync->setStyleSheet(QStringLiteral("color: rgb(80, 80, 80)"));
    m_lblSync->hide();
    m_sync = std::make_unique<SyncScheduler>(m_dm);
    connect(m_sync.get(), &SyncScheduler::statusChanged, this, &TMainFrm::ShowSyncStatus);
    connect(m_sync.get(), &SyncScheduler::aboutToStore, this, &TMainFrm::SyncAboutToStore,
            Qt::DirectConnection);
    connect(m_sync.get(), &SyncScheduler::noteStored, this, &TMainFrm::SyncNoteStored);
    // The settings and the password (which the desktop's keyring may take a while to give) are read when
    // the start-up finishes, after the first paint.
}

void TMainFrm::ConfigureSync() {
    const SyncSettings settings = ReadSyncSettings();
    m_sync->Configure(settings, SyncConfigured(settings) ? ReadSyncPassword(settings) : QString());
}

void TMainFrm::ShowSyncStatus(const QString& status) {
    m_lblSync->setText(status);
    m_lblSync->setToolTip(status);
    m_lblSync->setVisible(!status.isEmpty());
}

void TMainFrm::N_SyncSetClick() {
    SyncDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) ConfigureSync();
}

void TMainFrm::N_SyncNowClick() {
    FinishStartUp();
    if (!m_sync->Enabled()) return N_SyncSetClick();
    m_sync->SyncNow();
}

void TMainFrm::SyncRequested(QPointer<QLocalSocket> caller) {
    if (TestReportEnabled()) ReportForTests(QStringLiteral("sync requested"));
    FinishStartUp(); // a request may come in before the window is painted
    m_sync->SyncThen([caller](const SyncOutcome& outcome) { SingleInstance::Answer(caller, SyncAnswer(outcome)); });
}

// The server's copy is about to replace or join the note of `key`: what the editor holds for that day is
// stored first, so it is merged rather than written over.
void TMainFrm::SyncAboutToStore(const QString& key) {
    if (key == DayKey(m_chnTavi->DateTime()) && m_dm.CanSave) SaveDayNote();
}

void TMainFrm::SyncNoteStored(const QString& key) {
    if (key != DayKey(m_chnTavi->DateTime())) return;
    const int position = m_rdtAbc->textCursor().position();
    if (!LoadDayNote()) return;
    QTextCursor cursor = m_rdtAbc->textCursor();
    cursor.setPosition(std::min(position, m_rdtAbc->document()->characterCount() - 1));
    m_rdtAbc->setTextCursor(cursor);
}

} // namespace quenda
