#pragma once
// The main window: a borderless window with picture-drawn chrome (drag anywhere on the background, close
// and minimise pictures, the options menu), the date label, the web panel, the two wallpaper pictures, the
// note tools, and on the right the day view: the month calendar and under it the note of the chosen day.

#include "CalendarWidgets.h"
#include "Composer.h"
#include "DayNote.h"
#include "FormSize.h"
#include "MainLayout.h"
#include "WindowDrag.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QLocalSocket;
class QMenu;
class QTextBrowser;
class QTextEdit;
class QToolButton;

namespace quenda {

class NoteUndoSteps;
class TChnCalendar;
class TChromeButton;
class TDM;
class TSearchFrm;
class SyncScheduler;
class TMainFrm;

// Where the main window looks for the screens; tests replace it to start on a 1920 x 1080 or a
// 640-pixel-wide screen, or on a window system that places windows itself.
struct ScreenLayout {
    QSize primary;
    QList<QRect> screens;
    // False where the window system places windows itself and never tells a program where (Wayland): the
    // program can neither apply a position nor know one.
    bool positionsApply = true;
};
ScreenLayout CurrentScreens();
void SetScreensForTesting(std::function<ScreenLayout()> screens);

// "今天是 2013年1月2日(三)": the date label's text for a moment.
QString DateLabelText(TDateTime now);

// "星期四": the long name of the weekday of `now`.
QString LongWeekdayText(TDateTime now);

// The web panel's page about the program, with the date and lunar date of `now`.
QString AboutPageHtml(TDateTime now);

// The command that starts this program at login: this executable with --minimized, and with --data-dir
// when it runs on another data folder than its usual one.
QStringList AutostartCommandLine();

// The month picture of the start-up month: source\Month\YYYYMM.bmp beside the program.
QString MonthPicturePath(TDateTime now);

class TMainFrm : public QWidget {
    Q_OBJECT
public:
    // Runs FormCreate: the calendar is set to now, which loads today's note.
    TMainFrm(TDM& dm, QWidget* parent = nullptr);
    ~TMainFrm() override;

    // ---- state ----
    int CurPage = 0;                 // note page: 1-3 colour the editor, 0 stores the note only on leaving it
    FormSize Remembered;             // the bounds as read from and written to FormSize.ini
    QString MonthPicture;            // the start-up month's picture path
    BackgroundSelection Backgrounds; // CurBGPic, PicBGList and BGIndex of the background list
    ComposerSettings ComposerState;  // AskBeforeSet, SetAnswer, SetBgIniFile

    // ---- controls, named as the tests and the composer find them ----
    TChnCalendar& chnTavi() const { return *m_chnTavi; }
    QTextEdit& rdtAbc() const { return *m_rdtAbc; }
    QTextBrowser& webLink() const { return *m_webLink; }
    QLabel& lblDateTime() const { return *m_lblDateTime; }
    QLabel& lblSet() const { return *m_lblSet; }
    QLabel& lblNoteState() const { return *m_lblNoteState; }
    QMenu& popSysset() const { return *m_popSysset; }
    QAction& N_Autostart() const { return *m_autostart; }
    QMenu& pmEmpty() const { return *m_pmEmpty; }
    TChromeButton& CloseButton() const { return *m_close; }
    TChromeButton& MiniButton() const { return *m_mini; }
    Composer& WallpaperComposer(); // finishes the start-up first

    // What the first picture does not need, done after the window's first paint (a piece at a time), or
    // at once when something needs it (a wallpaper picture clicked before, a test): the web panel's page,
    // the background list with the composer's settings, the composer and its windows, the calendar's month
    // and year menus, the sync settings and password. Once.
    void FinishStartUp();

    // ---- handlers ----
    void FormCreate();
    void FormShow();
    void LoadFormSize();
    bool SaveFormSize();
    // Every normal end stores the window's bounds through this, once: the ways of ending run into one
    // another (the close button quits, quitting closes the window, the session's end quits) and only the
    // first one that sees new bounds writes them. Nothing before the window was first shown.
    void StoreBounds();
    void ColourEditor();
    bool LoadDayNote();
    SaveOutcome SaveDayNote();
    void chnTaviChange();
    void rdtAbcChange();
    void rdtAbcExit();
    bool img_close_highlightClick(); // false when the note could not be stored: the window stays
    void img_mini_highlightClick();
    void lblSetClick();
    void N_helpClick();
    void N_SubmitClick();
    void N_ExitPrjClick();
    void N_AutostartClick(bool checked); // "开机时自动启动": start at login (with --minimized) or not
    void imgAppToDeskClick();
    void imgAddToDeskClick();

    // ---- note editing commands ----
    QMenu& pmDeskTopMonCal() const { return *m_pmDeskTopMonCal; }
    void btnGouClick();
    void btnXClick();
    void imgDateClick();
    void imgRedColorClick();
    void N1Click();
    void N2Click();
    void N9Click();
    void N3Click();
    void V1Click();
    void X1Click();
    void CtrlZ1Click();
    void CtrlY1Click();

    // ---- finding and keeping the notes (uMainKeep.cpp) ----
    void N_SearchClick(); // also Ctrl+F
    void N_BackupClick();
    void N_ExportClick();
    void N_ImportClick();
    // Shows the day `key` (YYYYMMDD) with its note, the first occurrence of `text` selected.
    void ShowFoundDay(const QString& key, const QString& text);
    TSearchFrm* SearchWindow() const { return m_search; }
    // Notes were changed outside the program (an import from the command line): the shown day's note is
    // loaded again when the stored one holds everything the editor shows, so the next save keeps both.
    void NotesChangedElsewhere();
    bool BackupRunning() const { return m_backupRunning; }

    // True when an application-wide event must not be dispatched: a right click in the web panel, which
    // opens the empty menu instead of the page's own.
    bool AppEvent1Message(QObject* receiver, QEvent* event);

    // Brings a window that was minimised or hidden back to the front (a second start asks for this, with the
    // activation token of its own launch when the desktop gave it one). Where the window does not become
    // the active one (a compositor without activation, a refused token) it asks for attention instead.
    void BringToFront(const QString& activationToken = QString());
    void ShowFromTray() { BringToFront(); }

    // The desktop session ends: the note and the bounds are stored now, as the session may end the program
    // without another word. The program keeps running until it is told to end.
    void SessionCommitData();
    // Ended by a signal (SIGTERM at logout, `kill`): store what the close button stores and end without
    // asking anything; a note that cannot be stored now keeps what was stored before.
    void EndOnSignal();

    // Showing the window runs FormShow first.
    void setVisible(bool visible) override;

    // ---- sync with a calendar server (uMainSync.cpp) ----
    SyncScheduler& Sync() const { return *m_sync; }
    QLabel& lblSync() const { return *m_lblSync; }
    void N_SyncSetClick();
    void N_SyncNowClick();
    // `quenda-calendar --sync` asked this program to sync; it is answered when the round ends.
    void SyncRequested(QPointer<QLocalSocket> caller);
    // Reads Data/Sync.ini and the password again and starts or stops syncing accordingly.
    void ConfigureSync();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateChrome();
    void CreateLeftColumn();
    void CreateDayView();
    void CreateMenus();
    void CreateKeepMenu();
    void CreateAutostartItem();
    void CreateNoteTools();
    void CreateNoteMenu();
    void ConnectHandlers();
    void DescribeControls();
    void imgBGMouseDown(QMouseEvent* event);
    void imgBGMouseMove(QMouseEvent* event);
    QPoint OnWindow(const QMouseEvent& event) const;
    void ShowAboutPage();
    void CreateComposerState();
    void CreateComposer();
    void CreateCalendarMarks();
    void SaveCalendarOptions();
    void TellSkippedHolidays();
    void UpdateNoteMark();
    void EndProgram();
    void ShowNoteState(bool loaded);
    void CreateSync();
    bool RunStartUpStep();
    void FillCalendarMenus();
    void ContinueStartUp();
    void PutOffStartUp(const QEvent& event);
    void SyncAboutToStore(const QString& key);
    void SyncNoteStored(const QString& key);
    void ShowSyncStatus(const QString& status);

    TDM& m_dm;
    MainLayout m_layout;
    QWidget* m_imgBG = nullptr;
    QLabel* m_lblDateTime = nullptr;
    TLinkLabel* m_lblSet = nullptr;
    TLinkLabel* m_imgAppToDesk = nullptr;
    TLinkLabel* m_imgAddToDesk = nullptr;
    QTextBrowser* m_webLink = nullptr;
    TChnCalendar* m_chnTavi = nullptr;
    QTextEdit* m_rdtAbc = nullptr;
    QLabel* m_lblNoteState = nullptr; // why the note cannot be edited, after a failed load
    NoteUndoSteps* m_undoSteps = nullptr;
    QByteArray m_storedNote; // the note's RTF as last loaded or stored: a save of the same bytes is skipped
    QMenu* m_popSysset = nullptr;
    QAction* m_autostart = nullptr;
    QMenu* m_pmEmpty = nullptr;
    QMenu* m_pmDeskTopMonCal = nullptr;
    TChromeButton* m_close = nullptr;
    TChromeButton* m_mini = nullptr;
    std::unique_ptr<Composer> m_composer;
    QString m_holidaysMessage; // what was skipped of the holiday files, told once
    std::unique_ptr<SyncScheduler> m_sync;
    QLabel* m_lblSync = nullptr;
    bool m_ending = false;
    bool m_painted = false;
    std::size_t m_startUpSteps = 0; // of those FinishStartUp runs, how many are done
    WindowDrag m_drag{*this};
    bool m_positionsApply = true;     // from the screen layout at show
    bool m_shown = false;             // FormSize.ini has been applied: the bounds are worth storing
    std::optional<FormSize> m_stored; // what StoreBounds last wrote
    QTimer m_idle; // runs out when the note has not been saved for a while
    QTimer m_settled; // runs out when the window system has left the window alone since the first paint
    TSearchFrm* m_search = nullptr;
    bool m_backupRunning = false;
};

} // namespace quenda
