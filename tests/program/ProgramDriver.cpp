#include "ProgramDriver.h"

#include "LineListFile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <QThread>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace quenda::test {

bool Eventually(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QThread::msleep(20);
    }
    return true;
}

bool CanDriveDesktop() {
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

XServer::XServer() {
    if (!CanDriveDesktop()) return;
    // -displayfd 1: the server picks a free display number and writes it on its standard output.
    m_server = std::make_unique<QProcess>();
    m_server->start(QStringLiteral("Xvfb"),
                    {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                     QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                     QStringLiteral("tcp")});
    QByteArray number;
    QElapsedTimer timer;
    timer.start();
    // A busy machine may take seconds to start the server: one quiet half second is no failure.
    while (!number.contains('\n') && timer.elapsed() < 10000 && m_server->state() != QProcess::NotRunning) {
        m_server->waitForReadyRead(500);
        number += m_server->readAllStandardOutput();
    }
    if (number.trimmed().isEmpty()) return;
    m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

XServer::~XServer() {
    if (!m_server) return;
    m_server->kill();
    m_server->waitForFinished();
}

namespace {

// Waits for `ready` while `process` runs, at most ten seconds.
bool WaitUntil(QProcess& process, const std::function<bool()>& ready) {
    if (!process.waitForStarted()) return false;
    QElapsedTimer timer;
    timer.start();
    while (process.state() == QProcess::Running && timer.elapsed() < 10000) {
        if (ready()) return true;
        QThread::msleep(20);
    }
    return false;
}

} // namespace

WestonServer::WestonServer() {
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so";
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty() || !QFileInfo::exists(plugin)) return;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path()); // QTemporaryDir is 0700
    m_process.setProcessEnvironment(environment);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    const QString socket = QStringLiteral("wayland-test");
    m_process.start(QStringLiteral("weston"),
                    {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=") + socket,
                     QStringLiteral("--idle-time=0"), QStringLiteral("--no-config")});
    // Clients are served from the first turn of its loop, with every global in place; the socket is enough.
    if (WaitUntil(m_process, [&] { return QFileInfo::exists(m_runtime.filePath(socket)); })) m_socket = socket;
}

WestonServer::~WestonServer() {
    m_process.terminate(); // its helper clients (panel, keyboard) end with it
    if (!m_process.waitForFinished(5000)) m_process.kill();
    m_process.waitForFinished();
}

ProgramRun::ProgramRun(const QString& programFolder, const QString& display)
    : m_folder(programFolder), m_display(display) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QUENDA_TEST_REPORT"), QStringLiteral("1"));
    // xdotool reads window names (Quenda桌面日历) and types Chinese only in a UTF-8 locale.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    // Killed programs leave nothing to report; a normal end's leak report is the other suites' business.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    m_program.setProcessEnvironment(environment);
    m_program.setProcessChannelMode(QProcess::SeparateChannels);
    // PROGRAM_TESTS_STDERR=FILE keeps the program's standard error, for looking into a failure.
    m_program.setStandardErrorFile(qEnvironmentVariableIsSet("PROGRAM_TESTS_STDERR")
                                       ? qEnvironmentVariable("PROGRAM_TESTS_STDERR")
                                       : QProcess::nullDevice());
    m_typist.setProcessEnvironment(environment);
}

ProgramRun::~ProgramRun() {
    Kill();
}

void ProgramRun::UseWayland(const WestonServer& weston) {
    QProcessEnvironment environment = m_program.processEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), weston.Socket());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), weston.RuntimeDir());
    m_program.setProcessEnvironment(environment);
}

void ProgramRun::SetVariable(const QString& name, const QString& value) {
    QProcessEnvironment environment = m_program.processEnvironment();
    environment.insert(name, value);
    m_program.setProcessEnvironment(environment);
}

void ProgramRun::Terminate() {
    m_program.terminate();
}

bool ProgramRun::Start(const QStringList& arguments) {
    m_program.start(m_folder + QStringLiteral("/quenda-calendar"), arguments);
    return m_program.waitForStarted(5000);
}

void ProgramRun::Poll() {
    m_pending += m_program.readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        m_reports.append(QString::fromUtf8(m_pending.left(end)));
        m_pending.remove(0, end + 1);
    }
}

std::optional<QString> ProgramRun::WaitFor(const QString& prefix, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    qsizetype seen = 0;
    for (;;) {
        Poll();
        for (; seen < m_reports.size(); ++seen)
            if (m_reports[seen].startsWith(prefix)) return m_reports[seen];
        const int left = milliseconds - static_cast<int>(timer.elapsed());
        if (left <= 0 || m_program.state() != QProcess::Running) return std::nullopt;
        m_program.waitForReadyRead(left);
    }
}

bool ProgramRun::Running() const {
    return m_program.state() == QProcess::Running;
}

void ProgramRun::Kill() {
    for (QProcess* process : {&m_program, &m_typist}) {
        if (process->state() == QProcess::NotRunning) continue;
        process->kill(); // SIGKILL: no handler runs, nothing is flushed
        process->waitForFinished(5000);
    }
    Poll();
}

void ProgramRun::Xdotool(const QStringList& arguments, bool wait) {
    if (m_typist.state() != QProcess::NotRunning) {
        m_typist.kill();
        m_typist.waitForFinished();
    }
    m_typist.start(QStringLiteral("xdotool"), arguments);
    m_typist.waitForStarted();
    if (wait) m_typist.waitForFinished(10000);
}

bool ProgramRun::WaitForCleanExit(int milliseconds) {
    const bool ended = m_program.waitForFinished(milliseconds);
    Poll();
    if (ended) m_reports.append(QStringLiteral("(ended with exit code %1)").arg(m_program.exitCode()));
    return ended && m_program.exitStatus() == QProcess::NormalExit && m_program.exitCode() == 0;
}

void ProgramRun::ClickClose() {
    // From the window's background first, as a hand would come: the button lights up as the pointer arrives.
    Xdotool({"mousemove", "400", "40", "sleep", "0.1", "mousemove", QString::number(kCloseX),
             QString::number(kCloseY), "sleep", "0.3", "click", "1"});
}

void ProgramRun::TypeIntoNote(const QString& text) {
    Xdotool({"mousemove", QString::number(kEditorX), QString::number(kEditorY), "click", "1", "key",
             "ctrl+End", "type", "--delay", "10", text});
}

namespace {

// The program's windows on `environment`'s display, by id, with their areas in pixels; `search` finds them.
std::vector<std::pair<QString, qint64>> ProgramWindows(
    const QProcessEnvironment& environment,
    const QStringList& search = {"search", "--onlyvisible", "--name", "Quenda"}) {
    auto run = [&](const QStringList& arguments) {
        QProcess xdotool;
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        xdotool.waitForFinished(5000);
        return xdotool.readAllStandardOutput();
    };
    std::vector<std::pair<QString, qint64>> windows;
    for (const QByteArray& id : run(search).split('\n')) {
        if (id.trimmed().isEmpty()) continue;
        qint64 width = 0, height = 0;
        for (const QByteArray& line :
             run({"getwindowgeometry", "--shell", QString::fromLatin1(id)}).split('\n')) {
            if (line.startsWith("WIDTH=")) width = line.mid(6).toLongLong();
            if (line.startsWith("HEIGHT=")) height = line.mid(7).toLongLong();
        }
        windows.emplace_back(QString::fromLatin1(id.trimmed()), width * height);
    }
    return windows;
}

} // namespace

void ProgramRun::DismissMessage() {
    // The report comes as the box opens; without a window manager nobody gives it the keyboard. Find the
    // box (the program's window smaller than the main window), focus it and press its OK.
    constexpr qint64 kMainWindowArea = 750 * 500;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        for (const auto& [id, area] : ProgramWindows(m_typist.processEnvironment()))
            if (area > 0 && area < kMainWindowArea) return Xdotool({"windowfocus", id, "key", "Return"});
        QThread::msleep(50);
    }
}

QString ProgramRun::XdotoolOutput(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.setProcessEnvironment(m_typist.processEnvironment());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(5000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

QString ProgramRun::MainWindowId() {
    QString largest;
    qint64 largestArea = 0;
    // By process: under a window manager the name belongs to Qt's unmapped leader window.
    const QStringList search = {"search", "--onlyvisible", "--pid", QString::number(m_program.processId())};
    for (const auto& [id, area] : ProgramWindows(m_typist.processEnvironment(), search))
        if (area > largestArea) largest = id, largestArea = area;
    return largest;
}

int ProgramRun::LastSavedLength() const {
    for (qsizetype i = m_reports.size() - 1; i >= 0; --i)
        if (m_reports[i].startsWith(QStringLiteral("saved "))) return m_reports[i].section(' ', 2, 2).toInt();
    return -1;
}

void PlaceWindowAtOrigin(const QString& programFolder) {
    WriteLineList(programFolder + QStringLiteral("/Data/FormSize.ini"),
                  {QStringLiteral("1"), QStringLiteral("750"), QStringLiteral("500"), QStringLiteral("0"),
                   QStringLiteral("0")});
}

// ---- The program on a desktop with a window manager ----

namespace {

QByteArray OutputOn(const QString& display, const QString& program, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput();
}

} // namespace

bool CanRunWindowManager() {
    return !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty();
}

WindowManager::WindowManager(const QString& display) {
    if (!CanRunWindowManager() || display.isEmpty() || !m_settings.isValid()) return;
    // openbox runs its start-up command once it manages the screen: the file it makes is the sign.
    const QString ready = m_settings.filePath(QStringLiteral("ready"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settings.path());
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(environment);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice()); // it misses Debian's menu file, and says so
    m_process->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                                                 QStringLiteral("touch '%1'").arg(ready)});
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(ready) && timer.elapsed() < 10000 && !m_process->waitForFinished(20)) {
    }
    m_running = QFileInfo::exists(ready) && m_process->state() == QProcess::Running;
}

WindowManager::~WindowManager() {
    if (!m_process) return;
    m_process->kill();
    m_process->waitForFinished();
}

std::vector<ShownWindow> ShownWindows(const QString& display) {
    const auto xdotool = [&](const QStringList& arguments) {
        return OutputOn(display, QStringLiteral("xdotool"), arguments);
    };
    std::vector<ShownWindow> windows;
    // By class: inside a window manager's frame the program's windows are not found by their name.
    for (const QByteArray& id : xdotool({"search", "--onlyvisible", "--class", "quenda-calendar"}).split('\n')) {
        if (id.trimmed().isEmpty()) continue;
        QHash<QByteArray, int> values; // X=, Y=, WIDTH=, HEIGHT=
        for (const QByteArray& line : xdotool({"getwindowgeometry", "--shell", QString::fromLatin1(id)}).split('\n'))
            if (const qsizetype equals = line.indexOf('='); equals > 0)
                values.insert(line.left(equals), line.mid(equals + 1).toInt());
        const QRect bounds(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
        if (!bounds.isEmpty()) windows.push_back({QString::fromLatin1(id.trimmed()), bounds});
    }
    std::sort(windows.begin(), windows.end(), [](const ShownWindow& a, const ShownWindow& b) {
        return qint64(a.bounds.width()) * a.bounds.height() > qint64(b.bounds.width()) * b.bounds.height();
    });
    return windows;
}

QImage ScreenPicture(const QString& display) {
    return QImage::fromData(OutputOn(display, QStringLiteral("import"),
                                     {QStringLiteral("-silent"), QStringLiteral("-window"),
                                      QStringLiteral("root"), QStringLiteral("png:-")}),
                            "PNG");
}

void PlaceWindowAt(const QString& programFolder, QPoint topLeft) {
    WriteLineList(programFolder + QStringLiteral("/Data/FormSize.ini"),
                  {QStringLiteral("1"), QStringLiteral("750"), QStringLiteral("500"),
                   QString::number(topLeft.x()), QString::number(topLeft.y())});
}

} // namespace quenda::test
