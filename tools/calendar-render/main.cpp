// Draws the month calendar at a given size to a PNG, with "now" fixed so the picture is reproducible.
// Usage: calendar-render WIDTH HEIGHT OUT.png [YYYY-MM-DD[Thh:mm]] [options]   (default 2013-01-03T09:09)
// Options: --week-numbers, --no-title, --picture FILE (with --stretch, --center, --alpha N), --scale F (a
// screen scale of 1 to 4, for example 1.25 or 2: WIDTH x HEIGHT stay logical pixels, the PNG has F times
// as many on each side), --monday-first, --no-holidays, --no-note-marks, --notes YYYY-MM-DD,... (the days
// drawn as having a note), --holidays FOLDER (the *.tsv files read instead of the shipped ones).
#include "ChnCalendarPicker.h"
#include "Clock.h"
#include "HolidayTable.h"

#include <QApplication>
#include <QDateTime>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

std::optional<quenda::TDateTime> ParseMoment(const QString& text) {
    const QDateTime moment =
        QDateTime::fromString(text, text.size() > 10 ? "yyyy-MM-ddTHH:mm" : "yyyy-MM-dd");
    if (!moment.isValid()) return std::nullopt;
    return quenda::ToDateTimeValue(moment);
}

QString OptionValue(const QStringList& args, const QString& name) {
    const qsizetype at = args.indexOf(name);
    return at > 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

// The shipped rest and work days (or those of --holidays FOLDER); a skipped line is reported, not fatal.
std::shared_ptr<const quenda::HolidayTable> Holidays(const QStringList& args) {
    const QString folder = OptionValue(args, "--holidays");
    auto table = std::make_shared<quenda::HolidayTable>();
    std::vector<quenda::SkippedLine> skipped;
    const QString path = folder.isEmpty() ? QStringLiteral(QUENDA_SHIPPED_HOLIDAYS) : folder;
    for (const auto& file : quenda::HolidayFilesIn(std::filesystem::path(path.toStdU16String())))
        quenda::ReadHolidayFile(file, *table, skipped);
    for (const auto& line : skipped)
        std::fprintf(stderr, "skipped %s:%d: %s\n", line.source.c_str(), line.line, line.reason.c_str());
    return table;
}

// The marks: rest and work days, the days of --notes, the week's first day.
void ApplyMarks(quenda::TChnCalendar& calendar, const QStringList& args) {
    calendar.SetMondayFirst(args.contains("--monday-first"));
    calendar.SetShowHolidays(!args.contains("--no-holidays"));
    calendar.SetShowNoteMarks(!args.contains("--no-note-marks"));
    calendar.SetHolidays(Holidays(args));
    QSet<QDate> notes;
    for (const QString& day : OptionValue(args, "--notes").split(',', Qt::SkipEmptyParts))
        notes.insert(QDate::fromString(day, Qt::ISODate));
    calendar.SetNoteDaysProvider([notes](QDate first, QDate last) {
        QSet<QDate> shown;
        for (const QDate& day : notes)
            if (day >= first && day <= last) shown.insert(day);
        return std::optional(shown);
    });
}

// Applies the options after the control has its date, as a host would.
bool ApplyOptions(quenda::TChnCalendar& calendar, const QStringList& args) {
    ApplyMarks(calendar, args);
    calendar.SetShowWeekNum(args.contains("--week-numbers"));
    if (args.contains("--no-title")) calendar.SetShowTitle(false);
    const QString picturePath = OptionValue(args, "--picture");
    if (picturePath.isEmpty()) return true;
    const QImage picture(picturePath);
    if (picture.isNull()) return false;
    calendar.SetStretch(args.contains("--stretch"));
    calendar.SetCenter(args.contains("--center"));
    const QString alpha = OptionValue(args, "--alpha");
    if (!alpha.isEmpty()) calendar.SetAlphaBlend(static_cast<std::uint8_t>(alpha.toUInt() & 0xFF));
    calendar.SetBackGround(picture);
    return true;
}

} // namespace

// The screen scale asked for with --scale, read before the application starts: Qt takes the scale of its
// screens from the environment when it starts. 1 when not given; nothing when malformed or out of range.
std::optional<double> ScaleOption(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") != 0) continue;
        if (i + 1 >= argc) return std::nullopt;
        char* end = nullptr;
        const double scale = std::strtod(argv[i + 1], &end);
        if (end == argv[i + 1] || *end != '\0' || !(scale >= 1 && scale <= 4)) return std::nullopt;
        return scale;
    }
    return 1.0;
}

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::optional<double> scale = ScaleOption(argc, argv);
    if (scale) qputenv("QT_SCALE_FACTOR", QByteArray::number(*scale));
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int width = args.size() > 3 ? args.at(1).toInt() : 0;
    const int height = args.size() > 3 ? args.at(2).toInt() : 0;
    const bool dated = args.size() > 4 && !args.at(4).startsWith("--");
    const auto now = ParseMoment(dated ? args.at(4) : QStringLiteral("2013-01-03T09:09"));
    if (width < 60 || height < 80 || width > 4000 || height > 4000 || !now || !scale) {
        std::fprintf(stderr, "usage: calendar-render WIDTH HEIGHT OUT.png [YYYY-MM-DD[Thh:mm]] [options]\n"
                             "       --scale F takes a screen scale from 1 to 4\n");
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
    if (!ApplyOptions(calendar, args)) {
        std::fprintf(stderr, "cannot read the picture\n");
        return 1;
    }
    if (!calendar.grab().save(args.at(3), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(3)));
        return 1;
    }
    return 0;
}
