#include "CommandLine.h"

#include <QCommandLineParser>

namespace quenda {

namespace {

QCommandLineOption Option(const char* name, const char* description, const char* value = nullptr) {
    return value ? QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description), QString::fromLatin1(value))
                 : QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description));
}

const QCommandLineOption kBackup = Option(
    "backup", "Write a copy of the note store to <file> and end; works while the program runs.", "file");
const QCommandLineOption kExport = Option(
    "export", "Write the notes to the iCalendar file <file.ics> (one VJOURNAL per day) and end.", "file.ics");
const QCommandLineOption kFrom = Option("from", "With --export: the first day, YYYY-MM-DD.", "date");
const QCommandLineOption kTo = Option("to", "With --export: the last day, YYYY-MM-DD.", "date");
const QCommandLineOption kImport = Option(
    "import", "Print what importing the iCalendar file <file.ics> would do, and end; with --yes, import it.",
    "file.ics");
const QCommandLineOption kYes = Option("yes", "With --import: import without asking.");

// A day of the calendar's range written YYYY-MM-DD, or the reason it is none.
std::variant<QDate, QString> ParseDay(const QString& option, const QString& text) {
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid() || day.year() < 1 || day.year() > 2100)
        return QStringLiteral("--%1 wants a day from 0001-01-01 to 2100-12-31 as YYYY-MM-DD, not '%2'").arg(option, text);
    return day;
}

// The batch options' own rules; the reason when they are broken.
QString ReadBatchOptions(const QCommandLineParser& parser, CommandLine& options) {
    options.backupFile = parser.value(kBackup);
    options.exportFile = parser.value(kExport);
    options.importFile = parser.value(kImport);
    options.yes = parser.isSet(kYes);
    if (parser.isSet(kBackup) + parser.isSet(kExport) + parser.isSet(kImport) > 1)
        return QStringLiteral("--backup, --export and --import go one at a time");
    if ((parser.isSet(kFrom) || parser.isSet(kTo)) && !parser.isSet(kExport))
        return QStringLiteral("--from and --to go with --export");
    if (options.yes && !parser.isSet(kImport)) return QStringLiteral("--yes goes with --import");
    for (auto [option, day] : {std::pair{&kFrom, &options.from}, std::pair{&kTo, &options.to}}) {
        if (!parser.isSet(*option)) continue;
        const auto parsed = ParseDay(option->names().first(), parser.value(*option));
        if (const auto* reason = std::get_if<QString>(&parsed)) return *reason;
        *day = std::get<QDate>(parsed);
    }
    if (options.from && options.to && *options.from > *options.to) return QStringLiteral("--from is after --to");
    return {};
}

} // namespace

std::variant<CommandLine, CommandLineExit> ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quenda桌面日历: a month calendar with the Chinese lunar calendar and a note for "
                       "every day."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep the notes and settings in <dir> (its Data and "
                                                    "source folders) instead of the usual folder."),
                                     QStringLiteral("dir"));
    const QCommandLineOption minimized(QStringLiteral("minimized"),
                                       QStringLiteral("Start without showing the window when the desktop "
                                                      "has a tray to show its icon in."));
    const QCommandLineOption sync(QStringLiteral("sync"),
                                  QStringLiteral("Sync the notes with the calendar server set up in "
                                                 "Data/Sync.ini once, without a window (a running program "
                                                 "of the same folder is asked to do it), and end: 0 when "
                                                 "everything is in step."));
    parser.addOptions({dataDir, minimized, kBackup, kExport, kFrom, kTo, kImport, kYes, sync});

    if (!parser.parse(arguments))
        return CommandLineExit{2, parser.errorText() + QStringLiteral("\n\n") + parser.helpText()};
    if (parser.isSet(help)) return CommandLineExit{0, parser.helpText()};
    if (parser.isSet(version))
        return CommandLineExit{0, QCoreApplication::applicationName() + QLatin1Char(' ') +
                                      QCoreApplication::applicationVersion() + QLatin1Char('\n')};
    if (!parser.positionalArguments().isEmpty())
        return CommandLineExit{2, QStringLiteral("unexpected argument: %1\n\n%2")
                                      .arg(parser.positionalArguments().first(), parser.helpText())};
    CommandLine options;
    options.dataDir = parser.value(dataDir);
    options.minimized = parser.isSet(minimized);
    if (const QString reason = ReadBatchOptions(parser, options); !reason.isEmpty())
        return CommandLineExit{2, reason + QStringLiteral("\n\n") + parser.helpText()};
    options.sync = parser.isSet(sync);
    return options;
}

bool RunsWithoutWindow(const QStringList& arguments) {
    static const QStringList kWindowless = {QStringLiteral("-h"), QStringLiteral("--help"),
                                            QStringLiteral("-?"), QStringLiteral("--help-all"),
                                            QStringLiteral("-v"), QStringLiteral("--version"),
                                            QStringLiteral("--backup"), QStringLiteral("--export"),
                                            QStringLiteral("--import"), QStringLiteral("--sync")};
    for (const QString& argument : arguments.mid(1))
        if (kWindowless.contains(argument.section(QLatin1Char('='), 0, 0))) return true;
    return false;
}

} // namespace quenda
