#pragma once
// Drives the real program from outside, as a person would: a private X display (Xvfb), the program started
// in a copy of its folder with QUENDA_TEST_REPORT=1, key presses and clicks through xdotool, and the
// program's reports read from its standard output.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace quenda::test {

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

class ProgramRun {
public:
    ProgramRun(const QString& programFolder, const QString& display);
    ~ProgramRun();

    bool Start(const QStringList& arguments = {});
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

} // namespace quenda::test
