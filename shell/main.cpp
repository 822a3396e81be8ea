// Start-up: the application with its title, the one program per folder, the data module with the note
// store, the main window with the composer, then the message loop until the program is ended: from the
// window, by the desktop, by the session's end or by a signal, each storing the window's bounds.
#include "AppLook.h"
#include "BatchCommands.h"
#include "CommandLine.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "SyncCommand.h"
#include "uDM.h"
#include "uMain.h"

#ifdef Q_OS_UNIX
#include "TerminationSignals.h"
#endif

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (quenda::RunsWithoutWindow(arguments) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenda-calendar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenda桌面日历"));
    QApplication::setApplicationVersion(QStringLiteral(QUENDA_VERSION));
    const auto parsed = quenda::ParseCommandLine(QApplication::arguments());
    if (const auto* exit = std::get_if<quenda::CommandLineExit>(&parsed)) {
        std::fputs(exit->text.toLocal8Bit().constData(), exit->status == 0 ? stdout : stderr);
        return exit->status;
    }
    const auto& options = std::get<quenda::CommandLine>(parsed);
    if (!options.dataDir.isEmpty()) quenda::SetDataFolder(options.dataDir);
    quenda::InstallChineseTranslation(app);
    // Batch commands read the store (or import in one short transaction) beside a running program: the
    // one-program guard is for windows.
    if (options.HasBatchCommand()) {
        const quenda::BatchResult result = quenda::RunBatchCommand(options);
        // A program running on the folder shows the imported text instead of saving over it.
        if (result.status == 0 && !options.importFile.isEmpty())
            quenda::SingleInstance(quenda::DataFolder()).TellRunningProgramNotesChanged();
        std::fputs(result.output.toLocal8Bit().constData(), stdout);
        std::fputs(result.error.toLocal8Bit().constData(), stderr);
        return result.status;
    }
#ifdef Q_OS_UNIX
    // From here a SIGTERM waits in its pipe until the loop runs, and then ends the program properly.
    quenda::TerminationSignals endSignals;
#endif

    quenda::SingleInstance instance(quenda::DataFolder());
    if (options.sync) return quenda::RunSyncCommand(instance);
    // The desktop's permission to take the focus was given to this start; the running window spends it.
    if (instance.AskRunningProgramToShow(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"))) return 0;
    instance.Listen();

    quenda::TDM dm;
    if (!dm.DataModuleCreate()) return 1;

    quenda::TMainFrm mainFrm(dm);
    QObject::connect(&instance, &quenda::SingleInstance::showRequested, &mainFrm,
                     &quenda::TMainFrm::BringToFront);
#ifdef Q_OS_UNIX
    QObject::connect(&endSignals, &quenda::TerminationSignals::terminationRequested, &mainFrm,
                     &quenda::TMainFrm::EndOnSignal);
#endif
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainFrm,
                     &quenda::TMainFrm::SessionCommitData);
#endif
    // Ends that pass none of the window's own ways (a quit from elsewhere) store the bounds here.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &mainFrm, &quenda::TMainFrm::StoreBounds);
    QObject::connect(&instance, &quenda::SingleInstance::notesChanged, &mainFrm,
                     &quenda::TMainFrm::NotesChangedElsewhere);
    QObject::connect(&instance, &quenda::SingleInstance::syncRequested, &mainFrm,
                     &quenda::TMainFrm::SyncRequested);
    mainFrm.show();
    return app.exec();
}
