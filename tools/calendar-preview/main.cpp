// Shows the month calendar in a window of its own, at the size the main window gives it, and prints every
// date the user selects. A way to use the control by hand before the main window hosts it.
#include "ChnCalendarPicker.h"
#include "Clock.h"

#include <QApplication>
#include <QDateTime>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[]) {
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("桌面日历"));
    window.setStyleSheet(QStringLiteral("background: white"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    window.setFont(font);

    auto* calendar = new quenda::TChnCalendar(&window);
    calendar->setObjectName(QStringLiteral("chnTavi"));
    calendar->setGeometry(2, 2, 419, 250);
    calendar->OnChange = [](quenda::TChnCalendar* sender) {
        const QDate day = quenda::FromDateTimeValue(sender->DateTime()).date();
        std::printf("%s %s\n", qPrintable(day.toString(Qt::ISODate)), qPrintable(sender->CnDate()));
        std::fflush(stdout);
    };
    window.resize(423, 254);
    window.show();
    return app.exec();
}
