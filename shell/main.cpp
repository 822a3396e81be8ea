// Start-up: the application with its title and icon, the command line (batch commands end here without a
// window), a new user's data folder, the one program per data folder, the data module with the note
// store, the main window with the composer and the tray icon; then the message loop until the program is
// ended: from the window, by the desktop, by the session's end or by a signal, each storing the bounds.
#include "AppIcon.h"
#include "AppLook.h"
#include "Autostart.h"
#include "BatchCommands.h"
#include "CommandLine.h"
#include "Dialogs.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "SyncCommand.h"
#include "TestReport.h"
#include "TrayIcon.h"
#include "UserDataSetup.h"
#include "uDM.h"
#include "uMain.h"

#ifdef Q_OS_UNIX
#include "TerminationSignals.h"
#endif

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

// Minimised from the start. The first showing places the window (FormShow), and on X11 Qt turns a window
// that is moved as it is mapped back to normal: minimise it again once it is there.
void ShowMinimized(QWidget& window) {
    window.showMinimized();
    if (QWindow* handle = window.windowHandle()) handle->setWindowStates(Qt::WindowMinimized);
}

// The user's data folder could not be made: say why and end.
int StartFailed(const QString& message) {
    quenda::ShowMessage(nullptr, message);
    return 1;
}

// Batch commands read the store (or import in one short transaction) beside a running program: the
// one-program guard is for windows.
int RunBatch(const quenda::CommandLine& options) {
    const quenda::BatchResult result = quenda::RunBatchCommand(options);
    // A program running on the folder shows the imported text instead of saving over it.
    if (result.status == 0 && !options.importFile.isEmpty())
        quenda::SingleInstance(quenda::DataFolder()).TellRunningProgramNotesChanged();
    std::fputs(result.output.toLocal8Bit().constData(), stdout);
    std::fputs(result.error.toLocal8Bit().constData(), stderr);
    return result.status;
}

void ConnectEnds(QApplication& app, quenda::TMainFrm& mainFrm) {
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainFrm,
                     &quenda::TMainFrm::SessionCommitData);
#endif
    // Ends that pass none of the window's own ways (a quit from elsewhere) store the bounds here.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &mainFrm, &quenda::TMainFrm::StoreBounds);
}

void ConnectRequests(quenda::SingleInstance& instance, quenda::TMainFrm& mainFrm) {
    QObject::connect(&instance, &quenda::SingleInstance::showRequested, &mainFrm,
                     &quenda::TMainFrm::BringToFront);
    QObject::connect(&instance, &quenda::SingleInstance::notesChanged, &mainFrm,
                     &quenda::TMainFrm::NotesChangedElsewhere);
    QObject::connect(&instance, &quenda::SingleInstance::syncRequested, &mainFrm,
                     &quenda::TMainFrm::SyncRequested);
}

} // namespace

int main(int argc, char* argv[]) {
    quenda::TraceStartupStep("main");
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (quenda::RunsWithoutWindow(arguments) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quenda::InstallFontSubstitutions();
    quenda::TraceStartupStep("fonts substituted");
    QApplication app(argc, argv);
    quenda::TraceStartupStep("application");
    QApplication::setApplicationName(QStringLiteral("quenda-calendar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenda桌面日历"));
    QApplication::setApplicationVersion(QStringLiteral(QUENDA_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(quenda::kDesktopId));
    QApplication::setWindowIcon(quenda::ProgramIcon());
    quenda::TraceStartupStep("icon");
    const auto parsed = quenda::ParseCommandLine(QApplication::arguments());
    if (const auto* exit = std::get_if<quenda::CommandLineExit>(&parsed)) {
        std::fputs(exit->text.toLocal8Bit().constData(), exit->status == 0 ? stdout : stderr);
        return exit->status;
    }
    const auto& options = std::get<quenda::CommandLine>(parsed);
    if (!options.dataDir.isEmpty()) quenda::SetDataFolder(options.dataDir);
    quenda::InstallChineseTranslation(app);
    quenda::TraceStartupStep("translation");
    if (options.HasBatchCommand()) return RunBatch(options);
#ifdef Q_OS_UNIX
    // From here a SIGTERM waits in its pipe until the loop runs, and then ends the program properly.
    quenda::TerminationSignals endSignals;
#endif

    if (const auto error = quenda::MakeDataFolder()) return StartFailed(*error);
    quenda::SingleInstance instance(quenda::DataFolder());
    if (options.sync) return quenda::RunSyncCommand(instance);
    // The desktop's permission to take the focus was given to this start; the running window spends it.
    if (instance.AskRunningProgramToShow(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"))) return 0;
    instance.Listen();
    quenda::TraceStartupStep("one-program guard");
    if (const auto error = quenda::PrepareDataFolder()) return StartFailed(*error);

    quenda::TraceStartupStep("data folder");
    quenda::TDM dm;
    if (!dm.DataModuleCreate()) return 1;

    quenda::TraceStartupStep("store");
    quenda::TMainFrm mainFrm(dm);
    quenda::TraceStartupStep("window");
    ConnectRequests(instance, mainFrm);
    ConnectEnds(app, mainFrm);
#ifdef Q_OS_UNIX
    QObject::connect(&endSignals, &quenda::TerminationSignals::terminationRequested, &mainFrm,
                     &quenda::TMainFrm::EndOnSignal);
#endif
    // Qt puts the icon into the desktop's tray as soon as there is one, also when the tray starts later
    // (at login the panel and this program start together).
    quenda::TrayIcon tray(mainFrm);
    tray.Show();
    quenda::TraceStartupStep("tray");
    // Started at login: out of sight in the tray, or minimised where there is no tray to find it in.
    if (!options.minimized) {
        mainFrm.show();
    } else {
        if (!quenda::TrayIcon::DesktopHasTray()) ShowMinimized(mainFrm);
        // Out of sight there is no first paint to wait for, and sync must run from the start all the same.
        QTimer::singleShot(0, &mainFrm, &quenda::TMainFrm::FinishStartUp);
    }
    quenda::TraceStartupStep("shown");
    return app.exec();
}
