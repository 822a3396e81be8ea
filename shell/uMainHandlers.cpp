// The main window's start-up steps and event handlers.
#include "uMain.h"

#include "ChnCalendarPicker.h"
#include "ChromeButton.h"
#include "Clock.h"
#include "Dialogs.h"
#include "LineListFile.h"
#include "NoteUndoSteps.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "SyncScheduler.h"
#include "TestReport.h"
#include "uDM.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

namespace quenda {

namespace {

std::function<ScreenLayout()>& screensOverride() {
    static std::function<ScreenLayout()> screens;
    return screens;
}

const char16_t* const kWeekdays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"}; // Sunday first

QString formSizePath() {
    return DataPath(QStringLiteral("data\\FormSize.ini"));
}

QUrl PageUrl(const QString& name) {
    return QUrl::fromLocalFile(ProgramFilePath(QStringLiteral("pages\\") + name));
}

} // namespace

ScreenLayout CurrentScreens() {
    if (const auto& screens = screensOverride()) return screens();
    ScreenLayout layout;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        layout.primary = primary->geometry().size();
    for (const QScreen* screen : QGuiApplication::screens())
        layout.screens.append(screen->geometry());
    layout.positionsApply = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    return layout;
}

void SetScreensForTesting(std::function<ScreenLayout()> screens) {
    screensOverride() = std::move(screens);
}

QString DateLabelText(TDateTime now) {
    const CivilDate day = DecodeDate(now);
    return QStringLiteral("今天是 %1年%2月%3日(%4)")
        .arg(day.year)
        .arg(day.month)
        .arg(day.day)
        .arg(QString::fromUtf16(kWeekdays[DayOfWeek(now) - 1]));
}

QString MonthPicturePath(TDateTime now) {
    const CivilDate day = DecodeDate(now);
    return DataPath(QStringLiteral("source\\Month\\%1%2.bmp")
                           .arg(day.year, 4, 10, QLatin1Char('0'))
                           .arg(day.month, 2, 10, QLatin1Char('0')));
}

void TMainFrm::FormCreate() {
    CurPage = 0;
    m_dm.CanSave = false;
    // The control's creation sets its date to now; its OnChange loads today's note. Its menus wait.
    m_chnTavi->FillMenusOnDemand();
    m_chnTavi->CreateWnd();
    TraceStartupStep("calendar and today's note");
    const TDateTime now = m_chnTavi->DateTime();
    MonthPicture = MonthPicturePath(now);
    m_lblDateTime->setText(DateLabelText(now));
    m_lblDateTime->adjustSize();
}

void TMainFrm::FinishStartUp() {
    while (RunStartUpStep()) {
    }
}

// One piece of what waits for the first paint, in order (the composer reads its settings); false once
// all are done.
bool TMainFrm::RunStartUpStep() {
    static constexpr void (TMainFrm::*kSteps[])() = {&TMainFrm::ShowAboutPage, &TMainFrm::CreateComposerState,
                                                      &TMainFrm::CreateComposer, &TMainFrm::FillCalendarMenus,
                                                      &TMainFrm::ConfigureSync};
    if (m_startUpSteps >= std::size(kSteps)) return false;
    (this->*kSteps[m_startUpSteps++])();
    return true;
}

void TMainFrm::FillCalendarMenus() {
    m_chnTavi->FillMenus();
}

// After the first paint, once the window system has left the window alone for a moment (a window manager
// frames, places, exposes and activates it in several steps), one piece per pass of the event loop: the
// window answers the window system and the user between them, and a part of it never stays unpainted
// while a piece runs.
void TMainFrm::ContinueStartUp() {
    if (RunStartUpStep()) QTimer::singleShot(0, this, &TMainFrm::ContinueStartUp);
}

// Every event of the window system on the window puts the rest of the start-up back by the quiet time.
void TMainFrm::PutOffStartUp(const QEvent& event) {
    switch (event.type()) {
    case QEvent::Expose:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowActivate:
    case QEvent::WindowStateChange:
        if (m_startUpSteps == 0 && m_painted) m_settled.start();
        break;
    default:
        break;
    }
}

void TMainFrm::setVisible(bool visible) {
    // The bounds reach the window before it is created and mapped. Moved between the two, a frameless
    // window under an X window manager keeps the origin as its position: Qt asks the server where the
    // window is when the move's notification comes in, by which time the window manager has put it into
    // a frame that still lies at the origin, and the frame's later move to the right place tells the
    // window nothing. Every point mapped to the screen (menus, dialogs, the drag's start) would be wrong.
    if (visible && !isVisible()) FormShow();
    QWidget::setVisible(visible);
}

void TMainFrm::FormShow() {
    TraceStartupStep("show");
    LoadFormSize();
    ColourEditor();
    LoadDayNote();
    TraceStartupStep("FormShow");
    m_rdtAbc->setFocus(); // the day's note is what the user came to write
    // Once the window is on the screen: the message is about the calendar the user then sees.
    QTimer::singleShot(0, this, &TMainFrm::TellSkippedHolidays);
}

void TMainFrm::LoadFormSize() {
    const ScreenLayout screens = CurrentScreens();
    const std::optional<QStringList> lines = ReadLineList(formSizePath());
    m_positionsApply = screens.positionsApply;
    Remembered =
        ChooseFormSize(lines ? &*lines : nullptr, screens.primary, screens.screens, m_positionsApply);
    CurPage = Remembered.CurPage;
    resize(Remembered.bounds.size());
    if (m_positionsApply) move(Remembered.bounds.topLeft());
    m_shown = true;
    // A first start writes the defaults at once; a damaged file is rewritten on the next close.
    if (!lines) {
        SaveFormSize();
        m_stored = Remembered;
    }
}

bool TMainFrm::SaveFormSize() {
    Remembered.CurPage = CurPage;
    return WriteLineList(formSizePath(), FormSizeLines(Remembered));
}

void TMainFrm::ColourEditor() {
    static const QColor kPageColours[] = {{250, 252, 225}, {251, 240, 252}, {224, 255, 227}};
    if (CurPage < 1 || CurPage > 3) return;
    QPalette palette = m_rdtAbc->palette();
    palette.setColor(QPalette::Base, kPageColours[CurPage - 1]);
    m_rdtAbc->setPalette(palette);
}

bool TMainFrm::LoadDayNote() {
    const bool loaded = quenda::LoadDayNote(m_dm, m_chnTavi->DateTime(), *m_rdtAbc->document(), this);
    // After a failed load the editor still shows another day's note, which must not be edited as this one.
    m_rdtAbc->setReadOnly(!loaded);
    ShowNoteState(loaded);
    if (loaded) {
        m_storedNote = writeRtf(*m_rdtAbc->document());
        m_undoSteps->CloseStep();
    }
    return loaded;
}

void TMainFrm::ShowNoteState(bool loaded) {
    if (!loaded)
        m_lblNoteState->setText(QStringLiteral("读不出这一天的记事（%1），记事区暂时不能编辑。"
                                               "选别的日子再选回来即可重试。")
                                    .arg(LoadFailureReason(m_dm)));
    m_lblNoteState->setVisible(!loaded);
}

// Writes only a note that differs from what was loaded or stored last: an input method's unfinished
// syllable or the focus going to a menu changes nothing, so it writes nothing (and makes no row for a day
// never typed into).
SaveOutcome TMainFrm::SaveDayNote() {
    if (m_dm.NoteLoadFailed) return SaveOutcome::Skipped;
    const QByteArray rtf = writeRtf(*m_rdtAbc->document());
    if (rtf == m_storedNote) return SaveOutcome::Unchanged;
    const SaveOutcome outcome = quenda::SaveDayNote(m_dm, m_chnTavi->DateTime(), *m_rdtAbc->document(), rtf);
    if (outcome != SaveOutcome::Stored) return outcome;
    m_storedNote = rtf;
    m_idle.start(); // a checkpoint when typing pauses
    if (m_sync) m_sync->NoteSaved();
    if (TestReportEnabled())
        ReportForTests(QStringLiteral("saved %1 %2")
                           .arg(DayKey(m_chnTavi->DateTime()))
                           .arg(m_rdtAbc->document()->toPlainText().size()));
    return outcome;
}

void TMainFrm::chnTaviChange() {
    LoadDayNote();
}

void TMainFrm::rdtAbcChange() {
    if (CurPage != 0 && m_dm.CanSave) SaveDayNote();
    UpdateNoteMark();
}

void TMainFrm::rdtAbcExit() {
    SaveDayNote();
}

bool TMainFrm::img_close_highlightClick() {
    if (SaveDayNote() == SaveOutcome::Failed) {
        ShowMessage(this, QStringLiteral("保存记事失败，请重试！"));
        return false;
    }
    EndProgram();
    return true;
}

void TMainFrm::img_mini_highlightClick() {
    showMinimized();
#ifdef Q_OS_WIN
    // Windows keeps the taskbar button of a hidden, minimised program; other desktops would lose it.
    hide();
#endif
    m_close->ShowNormal();
    m_mini->ShowNormal();
}

void TMainFrm::lblSetClick() {
    m_popSysset->popup(m_lblSet->mapToGlobal(QPoint(0, m_lblSet->height())));
    if (m_lblSet->contextMenuPolicy() != Qt::CustomContextMenu) {
        m_lblSet->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_lblSet, &QWidget::customContextMenuRequested, this,
                [this](QPoint at) { m_popSysset->popup(m_lblSet->mapToGlobal(at)); });
    }
}

void TMainFrm::N_helpClick() {
    OpenPage(PageUrl(QStringLiteral("help.html")));
}

void TMainFrm::N_SubmitClick() {
    OpenPage(PageUrl(QStringLiteral("feedback.html")));
}

void TMainFrm::N_ExitPrjClick() {
    EndProgram();
}

void TMainFrm::EndProgram() {
    StoreBounds(); // the bounds are a convenience: a read-only folder must not keep the program open
    m_ending = true;
    QCoreApplication::quit();
}

void TMainFrm::closeEvent(QCloseEvent* event) {
    // Closed by the desktop (Alt+F4, the window list): store the note as the close button does.
    if (!m_ending && SaveDayNote() == SaveOutcome::Failed) {
        ShowMessage(this, QStringLiteral("保存记事失败，请重试！"));
        event->ignore();
        return;
    }
    // A closed window ends the program even while a tray icon could keep it running hidden.
    EndProgram();
    QWidget::closeEvent(event);
}

// The press's own position in the window, never the screen's point mapped back through the window's
// idea of where it is: that idea is only as good as the last word from the window manager.
QPoint TMainFrm::OnWindow(const QMouseEvent& event) const {
    return m_imgBG->mapTo(this, event.position().toPoint());
}

void TMainFrm::imgBGMouseDown(QMouseEvent* event) {
    m_drag.Press(*event, OnWindow(*event));
}

void TMainFrm::imgBGMouseMove(QMouseEvent* event) {
    if (m_drag.Move(*event)) return;
    m_imgBG->setCursor(CursorFor(EdgesAt(OnWindow(*event), size())));
    m_close->ShowNormal();
    m_mini->ShowNormal();
}

bool TMainFrm::AppEvent1Message(QObject* receiver, QEvent* event) {
    const auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || (widget != m_webLink && !m_webLink->isAncestorOf(widget))) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton) return false;
        m_pmEmpty->popup(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::ContextMenu: // the page's own menu, from the keyboard or a platform's right click
        return true;
    default:
        return false;
    }
}

bool TMainFrm::eventFilter(QObject* watched, QEvent* event) {
    if (AppEvent1Message(watched, event)) return true;
    if (watched == this || watched == static_cast<QObject*>(windowHandle())) PutOffStartUp(*event);
    if (watched == this && event->type() == QEvent::UpdateRequest && !m_painted) {
        m_painted = true; // the window paints and flushes when this event is handled; report after that
        TraceStartupStep("first update request");
        QTimer::singleShot(0, this, [this] {
            TraceStartupStep("painted");
            ReportForTests(QStringLiteral("painted"));
            m_settled.start();
        });
    }
    if (watched == m_imgBG) {
        const auto mouse = [event] { return static_cast<QMouseEvent*>(event); };
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            imgBGMouseDown(mouse());
        if (event->type() == QEvent::MouseMove) imgBGMouseMove(mouse());
        if (event->type() == QEvent::MouseButtonRelease) m_drag.Release(*mouse());
    } else if (watched == m_rdtAbc && event->type() == QEvent::FocusOut) {
        rdtAbcExit();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quenda
