// Start-up: the application with its title, the one program per folder, the data module with the note
// store, the main window with the composer, then the message loop until the program is ended: from the
// window, by the desktop, by the session's end or by a signal, each storing the window's bounds.
#include "AppLook.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "uDM.h"
#include "uMain.h"

#ifdef Q_OS_UNIX
#include "TerminationSignals.h"
#endif

#include <QApplication>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenda-calendar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenda桌面日历"));
    quenda::InstallChineseTranslation(app);
#ifdef Q_OS_UNIX
    // From here a SIGTERM waits in its pipe until the loop runs, and then ends the program properly.
    quenda::TerminationSignals endSignals;
#endif

    quenda::SingleInstance instance(quenda::ProgramFolder());
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
    mainFrm.show();
    return app.exec();
}
