#pragma once
// The main window: a borderless window with picture-drawn chrome (drag anywhere on the background, close
// and minimise pictures, the options menu), the date label, the web panel, the two wallpaper pictures, the
// note tools, and on the right the day view: the month calendar and under it the note of the chosen day.

#include "CalendarWidgets.h"
#include "Composer.h"
#include "DayNote.h"
#include "FormSize.h"
#include "MainLayout.h"

#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTextBrowser;
class QTextEdit;
class QToolButton;

namespace quenda {

class TChnCalendar;
class TChromeButton;
class TDM;
class TMainFrm;

// Where the main window looks for the screens; tests replace it to start on a 1920 x 1080 or a
// 640-pixel-wide screen.
struct ScreenLayout {
    QSize primary;
    QList<QRect> screens;
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
    QMenu& popSysset() const { return *m_popSysset; }
    QAction& N_Autostart() const { return *m_autostart; }
    QMenu& pmEmpty() const { return *m_pmEmpty; }
    TChromeButton& CloseButton() const { return *m_close; }
    TChromeButton& MiniButton() const { return *m_mini; }
    Composer& WallpaperComposer() const { return *m_composer; }

    // ---- handlers ----
    void FormCreate();
    void FormShow();
    void LoadFormSize();
    bool SaveFormSize();
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

    // True when an application-wide event must not be dispatched: a right click in the web panel, which
    // opens the empty menu instead of the page's own.
    bool AppEvent1Message(QObject* receiver, QEvent* event);

    // Brings a window that was minimised or hidden back to the front (a second start asks for this).
    void BringToFront();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateChrome();
    void CreateLeftColumn();
    void CreateDayView();
    void CreateMenus();
    void CreateAutostartItem();
    void CreateNoteTools();
    void CreateNoteMenu();
    void ConnectHandlers();
    void imgBGMouseDown(QMouseEvent* event);
    void imgBGMouseMove(QMouseEvent* event);
    void ShowAboutPage();
    void CreateComposerState();
    void CreateComposer();
    void EndProgram();

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
    QMenu* m_popSysset = nullptr;
    QAction* m_autostart = nullptr;
    QMenu* m_pmEmpty = nullptr;
    QMenu* m_pmDeskTopMonCal = nullptr;
    TChromeButton* m_close = nullptr;
    TChromeButton* m_mini = nullptr;
    std::unique_ptr<Composer> m_composer;
    bool m_ending = false;
    bool m_painted = false;
    QTimer m_idle; // runs out when the note has not been saved for a while
};

} // namespace quenda
