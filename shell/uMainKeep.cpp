// Finding and keeping the notes: the search window, the backup while typing goes on, and the iCalendar
// export and import, from the options menu.
#include "uMain.h"

#include "ChnCalendarPicker.h"
#include "Clock.h"
#include "Dialogs.h"
#include "IcsFile.h"
#include "KeepDialogs.h"
#include "NoteImport.h"
#include "RtfCodec.h"
#include "SearchWindow.h"
#include "StoreBackup.h"
#include "uDM.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTextEdit>
#include <QtConcurrent/QtConcurrentRun>

namespace quenda {

namespace {

// A backup that takes longer than this shows that it is working.
constexpr int kProgressDelayMs = 500;

QDate DateOf(TDateTime value) {
    const CivilDate day = DecodeDate(value);
    return QDate(day.year, day.month, day.day);
}

QString DocumentsPath(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(name);
}

} // namespace

void TMainFrm::CreateKeepMenu() {
    m_popSysset->addSeparator()->setObjectName(QStringLiteral("N7"));
    const struct {
        const char* name;
        const char* caption;
        void (TMainFrm::*handler)();
    } items[] = {{"N_Search", "查找记事…", &TMainFrm::N_SearchClick},
                 {"N_Backup", "备份记事…", &TMainFrm::N_BackupClick},
                 {"N_Export", "导出记事…", &TMainFrm::N_ExportClick},
                 {"N_Import", "导入记事…", &TMainFrm::N_ImportClick}};
    for (const auto& entry : items) {
        QAction* item = m_popSysset->addAction(QString::fromUtf8(entry.caption));
        item->setObjectName(QString::fromLatin1(entry.name));
        connect(item, &QAction::triggered, this, entry.handler);
    }
    // Ctrl+F works anywhere in the window, not only while the menu is open.
    QAction* search = m_popSysset->findChild<QAction*>(QStringLiteral("N_Search"));
    search->setShortcut(QKeySequence::Find);
    search->setShortcutContext(Qt::WindowShortcut);
    addAction(search);
}

void TMainFrm::N_SearchClick() {
    if (!m_search) {
        m_search = new TSearchFrm(m_dm, this);
        connect(m_search, &TSearchFrm::dayChosen, this, &TMainFrm::ShowFoundDay);
    }
    SaveDayNote(); // what was just typed is searched too
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
    m_search->edtSearch().setFocus();
    m_search->edtSearch().selectAll();
}

void TMainFrm::ShowFoundDay(const QString& key, const QString& text) {
    const QDate day = QDate::fromString(key, QStringLiteral("yyyyMMdd"));
    if (!day.isValid()) return;
    SaveDayNote();
    m_chnTavi->SetDateTime(EncodeDate(day.year(), day.month(), day.day())); // loads the day's note
    const QTextCursor found = m_rdtAbc->document()->find(text);
    if (!found.isNull()) m_rdtAbc->setTextCursor(found);
    BringToFront();
    m_rdtAbc->setFocus();
}

void TMainFrm::NotesChangedElsewhere() {
    const std::optional<StoredNote> stored = m_dm.ReadNote(DayKey(m_chnTavi->DateTime()));
    if (!stored || m_dm.NoteLoadFailed) return;
    // Text typed but not stored yet (note page 0 stores on leaving the editor) is never thrown away.
    if (!NotePlainText(stored->data).contains(documentPlainText(*m_rdtAbc->document()))) return;
    const int caret = m_rdtAbc->textCursor().position(); // a cursor would follow the reload to its end
    LoadDayNote();
    QTextCursor restored(m_rdtAbc->document());
    restored.setPosition(std::min(caret, m_rdtAbc->document()->characterCount() - 1));
    m_rdtAbc->setTextCursor(restored);
}

void TMainFrm::N_BackupClick() {
    if (m_backupRunning) return;
    const QString target = AskSaveFileName(this, DefaultBackupPath(Clock::Now()), QStringLiteral("记事库 (*.db)"));
    if (target.isEmpty()) return;
    SaveDayNote();
    m_backupRunning = true;
    // The copy runs on a connection of its own in a worker thread; typing and saving go on meanwhile.
    auto* watcher = new QFutureWatcher<BackupOutcome>(this);
    auto* progress = new QProgressDialog(QStringLiteral("正在备份记事…"), QString(), 0, 0, this);
    progress->setObjectName(QStringLiteral("BackupProgress"));
    progress->setWindowModality(Qt::NonModal);
    progress->setMinimumDuration(0);
    progress->reset(); // stays hidden until the delay below runs out
    auto* delay = new QTimer(watcher);
    delay->setSingleShot(true);
    connect(delay, &QTimer::timeout, progress, &QWidget::show);
    connect(watcher, &QFutureWatcher<BackupOutcome>::finished, this, [this, watcher, progress] {
        const BackupOutcome outcome = watcher->result();
        progress->deleteLater();
        watcher->deleteLater();
        m_backupRunning = false;
        ShowMessage(this, outcome.ok ? QStringLiteral("备份完成：%1\n恢复时先退出程序，再用它替换 %2。")
                                           .arg(outcome.message, QDir::toNativeSeparators(TDM::StorePath()))
                                     : outcome.message);
    });
    watcher->setFuture(QtConcurrent::run(BackupStore, TDM::StorePath(), target));
    delay->start(kProgressDelayMs);
}

void TMainFrm::N_ExportClick() {
    TExportFrm range(DateOf(Clock::Now()), this);
    if (RunDialog(range) != QDialog::Accepted) return;
    const CivilDate today = DecodeDate(Clock::Now());
    const QString suggested = DocumentsPath(QStringLiteral("记事-%1%2%3.ics")
                                                .arg(today.year, 4, 10, QLatin1Char('0'))
                                                .arg(today.month, 2, 10, QLatin1Char('0'))
                                                .arg(today.day, 2, 10, QLatin1Char('0')));
    const QString path = AskSaveFileName(this, suggested, QStringLiteral("iCalendar (*.ics)"));
    if (path.isEmpty()) return;
    SaveDayNote();
    const auto [from, to] = range.Range();
    const ExportOutcome outcome = ExportNotes(m_dm, path, from, to);
    ShowMessage(this, outcome.ok ? QStringLiteral("已导出 %1 天的记事：%2").arg(outcome.notes).arg(path)
                                 : outcome.message);
}

void TMainFrm::N_ImportClick() {
    const QString path = AskOpenFileName(this, QStringLiteral("iCalendar (*.ics);;所有文件 (*)"));
    if (path.isEmpty()) return;
    const IcsContent content = ReadIcsFile(path);
    if (!content.error.isEmpty()) return ShowMessage(this, content.error);
    SaveDayNote(); // the shown day's note as typed is what the import appends to
    const std::optional<ImportPlan> plan = PlanImport(m_dm, content);
    if (!plan) return ShowMessage(this, QStringLiteral("读取记事失败，请重试！"));
    TImportFrm preview(path, *plan, content, this);
    if (RunDialog(preview) != QDialog::Accepted) return;
    const std::optional<ImportPlan> done = ApplyImport(m_dm, content);
    if (!done) return ShowMessage(this, QStringLiteral("导入失败，记事没有改变，请重试！"));
    LoadDayNote(); // the shown day may have received text
    ShowMessage(this, QStringLiteral("导入完成。") + ImportSummary(*done, content));
}

} // namespace quenda
