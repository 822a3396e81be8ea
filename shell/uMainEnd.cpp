// The main window's ways of ending, and of coming back to the front for a second start.
#include "uMain.h"

#include "TestReport.h"

#include <QApplication>
#include <QTimer>

namespace quenda {

namespace {

// A compositor or window manager answers an activation within a few frames; a window that is not active
// by then was refused.
constexpr int kActivationWaitMs = 1000;

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Qt's Wayland plugin activates a window with the token it finds in XDG_ACTIVATION_TOKEN (its launch's
// token, at the first show). A second start's token goes there for this one request and no longer, so no
// later request and no program started from here (a help page's browser) sees a used token. On X11 the
// window manager needs no token.
void activateWithToken(QWidget& window, const QString& token) {
    const bool passToken = onWayland() && !token.isEmpty();
    if (passToken) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    window.activateWindow();
    if (passToken) qunsetenv("XDG_ACTIVATION_TOKEN");
}

} // namespace

void TMainFrm::StoreBounds() {
    if (!m_shown) return;
    const QRect now = geometry();
    // Where the window system places windows itself, geometry() holds the position the program asked for
    // rather than where the window is: the last real one stays.
    Remembered.bounds = m_positionsApply ? now : QRect(Remembered.bounds.topLeft(), now.size());
    Remembered.CurPage = CurPage;
    if (m_stored == Remembered) return;
    m_stored = Remembered; // also when the write fails: a read-only folder is tried once, not on every path
    SaveFormSize();
}

void TMainFrm::SessionCommitData() {
    SaveDayNote();
    StoreBounds();
}

void TMainFrm::EndOnSignal() {
    SaveDayNote(); // a failure keeps the note stored before; nobody is there to answer a message
    EndProgram();
}

void TMainFrm::BringToFront(const QString& activationToken) {
    ReportForTests((QStringLiteral("front ") + activationToken).trimmed());
    if (isMinimized() || !isVisible()) showNormal();
    raise();
    activateWithToken(*this, activationToken);
    QTimer::singleShot(kActivationWaitMs, this, [this] {
        if (isActiveWindow()) return;
        QApplication::alert(this); // the taskbar or the window list marks the window
        ReportForTests(QStringLiteral("attention"));
    });
}

} // namespace quenda
