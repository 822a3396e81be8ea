// Start-up: the application with its title, the one program per folder, the data module with the note
// store, the main window with the composer, then the message loop until the program is ended.
#include "AppLook.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "uDM.h"
#include "uMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quenda-calendar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quenda桌面日历"));
    quenda::InstallChineseTranslation(app);

    quenda::SingleInstance instance(quenda::ProgramFolder());
    if (instance.AskRunningProgramToShow()) return 0;
    instance.Listen();

    quenda::TDM dm;
    if (!dm.DataModuleCreate()) return 1;

    quenda::TMainFrm mainFrm(dm);
    QObject::connect(&instance, &quenda::SingleInstance::showRequested, &mainFrm,
                     &quenda::TMainFrm::BringToFront);
    mainFrm.show();
    return app.exec();
}
