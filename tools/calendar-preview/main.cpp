// Shows the month calendar in a window of its own, at the size the main window gives it, and prints every
// date the user selects. A way to use the control by hand before the main window hosts it.
#include "Clock.h"
#include "PreviewWindow.h"

#include <QApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);

    quenda::TPreviewWindow window;
    window.Calendar().OnChange = [](quenda::TChnCalendar* sender) {
        const QDate day = quenda::FromDateTimeValue(sender->DateTime()).date();
        std::printf("%s %s\n", qPrintable(day.toString(Qt::ISODate)), qPrintable(sender->CnDate()));
        std::fflush(stdout);
    };
    window.show();
    return app.exec();
}
