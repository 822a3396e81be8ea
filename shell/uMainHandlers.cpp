// The main window's start-up steps and event handlers.
#include "uMain.h"

#include "ChnCalendarPicker.h"
#include "ChromeButton.h"
#include "Clock.h"
#include "Dialogs.h"
#include "LineListFile.h"
#include "ProgramFolder.h"
#include "SyncScheduler.h"
#include "TestReport.h"
#include "uDM.h"

#include <QApplication>
#include <QContextMenuEvent>
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

// Borderless windows resize from a band this wide along their edges.
constexpr int kResizeBand = 5;

Qt::Edges EdgesAt(QPoint pos, QSize size) {
    Qt::Edges edges;
    if (pos.x() < kResizeBand) edges |= Qt::LeftEdge;
    if (pos.x() >= size.width() - kResizeBand) edges |= Qt::RightEdge;
    if (pos.y() < kResizeBand) edges |= Qt::TopEdge;
    if (pos.y() >= size.height() - kResizeBand) edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape CursorFor(Qt::Edges edges) {
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical)
        return (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge))
                   ? Qt::SizeFDiagCursor
                   : Qt::SizeBDiagCursor;
    if (horizontal) return Qt::SizeHorCursor;
    if (vertical) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
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
    ShowAboutPage();
    // The control's creation sets its date to now; its OnChange loads today's note.
    m_chnTavi->CreateWnd();
    const TDateTime now = m_chnTavi->DateTime();
    MonthPicture = MonthPicturePath(now);
    m_lblDateTime->setText(DateLabelText(now));
    m_lblDateTime->adjustSize();
    CreateComposerState();
}

void TMainFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMainFrm::FormShow() {
    LoadFormSize();
    ColourEditor();
    LoadDayNote();
    m_rdtAbc->setFocus(); // the day's note is what the user came to write
}

void TMainFrm::LoadFormSize() {
    const ScreenLayout screens = CurrentScreens();
    const std::optional<QStringList> lines = ReadLineList(formSizePath());
    Remembered = ChooseFormSize(lines ? &*lines : nullptr, screens.primary, screens.screens);
    CurPage = Remembered.CurPage;
    resize(Remembered.bounds.size());
    move(Remembered.bounds.topLeft());
    // A first start writes the defaults at once; a damaged file is rewritten on the next close.
    if (!lines) SaveFormSize();
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
    return loaded;
}

SaveOutcome TMainFrm::SaveDayNote() {
    const SaveOutcome outcome = quenda::SaveDayNote(m_dm, m_chnTavi->DateTime(), *m_rdtAbc->document());
    if (outcome == SaveOutcome::Stored) {
        m_idle.start(); // a checkpoint when typing pauses
        if (m_sync) m_sync->NoteSaved();
    }
    if (outcome == SaveOutcome::Stored && TestReportEnabled())
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
}

void TMainFrm::rdtAbcExit() {
    SaveDayNote();
}

bool TMainFrm::img_close_highlightClick() {
    if (SaveDayNote() == SaveOutcome::Failed) {
        ShowMessage(this, QStringLiteral("保存记事失败，请重试！"));
        return false;
    }
    Remembered.bounds = geometry();
    SaveFormSize(); // the bounds are a convenience: a read-only folder must not keep the program open
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

void TMainFrm::BringToFront() {
    if (isMinimized() || !isVisible()) showNormal();
    raise();
    activateWindow();
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
    m_ending = true;
    QWidget::closeEvent(event);
}

void TMainFrm::imgBGMouseDown(QMouseEvent* event) {
    QWindow* window = windowHandle();
    if (!window) return;
    const Qt::Edges edges = EdgesAt(mapFromGlobal(event->globalPosition().toPoint()), size());
    if (edges && event->button() == Qt::LeftButton)
        window->startSystemResize(edges);
    else
        window->startSystemMove();
}

void TMainFrm::imgBGMouseMove(QMouseEvent* event) {
    m_imgBG->setCursor(CursorFor(EdgesAt(mapFromGlobal(event->globalPosition().toPoint()), size())));
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
    if (watched == this && event->type() == QEvent::UpdateRequest && !m_painted) {
        m_painted = true; // the window paints and flushes when this event is handled; report after that
        if (TestReportEnabled()) QTimer::singleShot(0, [] { ReportForTests(QStringLiteral("painted")); });
    }
    if (watched == m_imgBG) {
        if (event->type() == QEvent::MouseButtonPress) imgBGMouseDown(static_cast<QMouseEvent*>(event));
        if (event->type() == QEvent::MouseMove) imgBGMouseMove(static_cast<QMouseEvent*>(event));
    } else if (watched == m_rdtAbc && event->type() == QEvent::FocusOut) {
        rdtAbcExit();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quenda
