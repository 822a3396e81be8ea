// Start-up: the application with its title, --sync without a window, the one program per folder, the data module with the note
// store, the main window with the composer, then the message loop until the program is ended.
#include "AppLook.h"
#include "CommandLine.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "SyncCommand.h"
#include "uDM.h"
#include "uMain.h"

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

    quenda::SingleInstance instance(quenda::DataFolder());
    if (options.sync) return quenda::RunSyncCommand(instance);
    if (instance.AskRunningProgramToShow()) return 0;
    instance.Listen();

    quenda::TDM dm;
    if (!dm.DataModuleCreate()) return 1;

    quenda::TMainFrm mainFrm(dm);
    QObject::connect(&instance, &quenda::SingleInstance::showRequested, &mainFrm,
                     &quenda::TMainFrm::BringToFront);
    QObject::connect(&instance, &quenda::SingleInstance::syncRequested, &mainFrm,
                     &quenda::TMainFrm::SyncRequested);
    mainFrm.show();
    return app.exec();
}
