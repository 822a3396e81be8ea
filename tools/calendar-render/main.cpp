// Draws the month calendar at a given size to a PNG, with "now" fixed so the picture is reproducible.
// Usage: calendar-render WIDTH HEIGHT OUT.png [YYYY-MM-DD[Thh:mm]]   (default date 2013-01-03T09:09)
#include "ChnCalendarPicker.h"
#include "Clock.h"

#include <QApplication>
#include <QDateTime>

#include <cstdio>

namespace {

std::optional<quenda::TDateTime> ParseMoment(const QString& text) {
    const QDateTime moment =
        QDateTime::fromString(text, text.size() > 10 ? "yyyy-MM-ddTHH:mm" : "yyyy-MM-dd");
    if (!moment.isValid()) return std::nullopt;
    return quenda::ToDateTimeValue(moment);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int width = args.size() > 3 ? args.at(1).toInt() : 0;
    const int height = args.size() > 3 ? args.at(2).toInt() : 0;
    const auto now = ParseMoment(args.size() > 4 ? args.at(4) : QStringLiteral("2013-01-03T09:09"));
    if (width < 60 || height < 80 || width > 4000 || height > 4000 || !now) {
        std::fprintf(stderr, "usage: calendar-render WIDTH HEIGHT OUT.png [YYYY-MM-DD[Thh:mm]]\n");
        return 2;
    }
    quenda::Clock::SetNowForTesting([moment = *now] { return moment; });

    quenda::TChnCalendar calendar;
    // The main window's font, which the week-day header is drawn in.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    calendar.setFont(font);
    calendar.resize(width, height);
    calendar.show();
    app.processEvents();
    if (!calendar.grab().save(args.at(3), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
