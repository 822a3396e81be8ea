// Start-up: the application with its title, the one program per data folder, a new user's data folder,
// the data module with the note store, the main window with the composer and the tray icon; then the
// message loop until the program is ended.
#include "AppIcon.h"
#include "AppLook.h"
#include "Autostart.h"
#include "CommandLine.h"
#include "Dialogs.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "UserDataSetup.h"
#include "uDM.h"
#include "uMain.h"

#include <QApplication>
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

} // namespace

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
    QApplication::setDesktopFileName(QString::fromLatin1(quenda::kDesktopId));
    QApplication::setWindowIcon(quenda::AppIconSet(quenda::kAppIconDay));
    const auto parsed = quenda::ParseCommandLine(QApplication::arguments());
    if (const auto* exit = std::get_if<quenda::CommandLineExit>(&parsed)) {
        std::fputs(exit->text.toLocal8Bit().constData(), exit->status == 0 ? stdout : stderr);
        return exit->status;
    }
    const auto& options = std::get<quenda::CommandLine>(parsed);
    if (!options.dataDir.isEmpty()) quenda::SetDataFolder(options.dataDir);
    quenda::InstallChineseTranslation(app);

    if (const auto error = quenda::MakeDataFolder()) return StartFailed(*error);
    quenda::SingleInstance instance(quenda::DataFolder());
    if (instance.AskRunningProgramToShow()) return 0;
    instance.Listen();
    if (const auto error = quenda::PrepareDataFolder()) return StartFailed(*error);

    quenda::TDM dm;
    if (!dm.DataModuleCreate()) return 1;

    quenda::TMainFrm mainFrm(dm);
    QObject::connect(&instance, &quenda::SingleInstance::showRequested, &mainFrm,
                     &quenda::TMainFrm::BringToFront);
    // Qt puts the icon into the desktop's tray as soon as there is one, also when the tray starts later
    // (at login the panel and this program start together).
    quenda::TrayIcon tray(mainFrm);
    tray.Show();
    // Started at login: out of sight in the tray, or minimised where there is no tray to find it in.
    if (!options.minimized)
        mainFrm.show();
    else if (!quenda::TrayIcon::DesktopHasTray())
        ShowMinimized(mainFrm);
    return app.exec();
}
