#pragma once
// Drives the real program from outside, as a person would: a private X display (Xvfb), the program started
// in a copy of its folder with QUENDA_TEST_REPORT=1, key presses and clicks through xdotool, and the
// program's reports read from its standard output.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quenda::test {

// Polls `condition` until it holds, for at most `milliseconds`; whether it held.
bool Eventually(const std::function<bool()>& condition, int milliseconds = 15000);

// A private X server; Display() is empty when Xvfb could not be started.
class XServer {
public:
    XServer();
    ~XServer();
    const QString& Display() const { return m_display; }

private:
    std::unique_ptr<QProcess> m_server;
    QString m_display;
};

// True when Xvfb and xdotool are installed.
bool CanDriveDesktop();

// A headless Weston (Debian's compositor; its headless backend has no input seat) with a runtime folder of
// its own. Socket() is empty when weston or Qt's Wayland plugin is missing or the compositor did not start.
class WestonServer {
public:
    WestonServer();
    ~WestonServer();
    const QString& Socket() const { return m_socket; }
    QString RuntimeDir() const { return m_runtime.path(); }

private:
    QTemporaryDir m_runtime;
    QProcess m_process;
    QString m_socket;
};

class ProgramRun {
public:
    ProgramRun(const QString& programFolder, const QString& display);
    ~ProgramRun();

    // Before Start: the program runs on `weston` with Qt's Wayland plugin instead of on the X display.
    void UseWayland(const WestonServer& weston);
    // Before Start: one more variable in the program's environment.
    void SetVariable(const QString& name, const QString& value);

    bool Start(const QStringList& arguments = {});
    // SIGTERM, as the session sends at logout.
    void Terminate();
    // The X window id of the program's main window (its largest), empty while none is shown.
    QString MainWindowId();
    // What xdotool with `arguments` prints on this display.
    QString XdotoolOutput(const QStringList& arguments);
    // Reads reports until a line starting with `prefix` arrives or `milliseconds` pass; the line if any.
    std::optional<QString> WaitFor(const QString& prefix, int milliseconds);
    // Reads what has arrived so far.
    void Poll();
    bool Running() const;
    void Kill();

    // Runs xdotool with `arguments` on this display; `wait` false leaves it running until Kill or the end.
    void Xdotool(const QStringList& arguments, bool wait = true);

    // Waits for the program to end by itself; true when it did, with exit code 0.
    bool WaitForCleanExit(int milliseconds);
    // Clicks the window's close button (the pointer first moves over it, which lights it up).
    void ClickClose();
    // Presses OK in the message box the program shows.
    void DismissMessage();
    // Types `text` at the end of the note.
    void TypeIntoNote(const QString& text);

    const QStringList& Reports() const { return m_reports; }
    // The plain-text length of the last save the program reported as stored, -1 before any.
    int LastSavedLength() const;

private:
    QString m_folder;
    QString m_display;
    QProcess m_program;
    QProcess m_typist;
    QByteArray m_pending;
    QStringList m_reports;
};

// FormSize.ini placing the window at the screen's top-left corner, so its controls have known places.
void PlaceWindowAtOrigin(const QString& programFolder);

// Where the program's controls are with the window at the origin and 750 x 500 pixels large.
inline constexpr int kEditorX = 530, kEditorY = 420;
inline constexpr int kCloseX = 728, kCloseY = 10;

// ---- The program on a desktop with a window manager ----

// True when openbox and ImageMagick's import are installed.
bool CanRunWindowManager();

// A real window manager, openbox with its stock settings, on `display`; Running() is false when it could
// not be started.
class WindowManager {
public:
    explicit WindowManager(const QString& display);
    ~WindowManager();
    bool Running() const { return m_running; }

private:
    QTemporaryDir m_settings; // an empty settings folder: the user's own openbox settings stay out
    std::unique_ptr<QProcess> m_process;
    bool m_running = false;
};

// One of the program's windows as the screen shows it (main window, menu, dialog).
struct ShownWindow {
    QString id;
    QRect bounds; // in screen pixels
};

// The program's visible windows on `display`, largest first.
std::vector<ShownWindow> ShownWindows(const QString& display);

// What `display` shows; a null picture when it could not be taken.
QImage ScreenPicture(const QString& display);

// FormSize.ini placing the 750 x 500 window with its top-left corner at `topLeft`.
void PlaceWindowAt(const QString& programFolder, QPoint topLeft);

} // namespace quenda::test
