#include "CommandLine.h"

#include <QCommandLineParser>

namespace quenda {

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
    parser.addOptions({dataDir, minimized, sync});

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
    options.sync = parser.isSet(sync);
    return options;
}

bool RunsWithoutWindow(const QStringList& arguments) {
    static const QStringList kWindowless = {QStringLiteral("-h"), QStringLiteral("--help"),
                                            QStringLiteral("-?"), QStringLiteral("--help-all"),
                                            QStringLiteral("-v"), QStringLiteral("--version"),
                                            QStringLiteral("--sync")};
    for (const QString& argument : arguments.mid(1))
        if (kWindowless.contains(argument.section(QLatin1Char('='), 0, 0))) return true;
    return false;
}

} // namespace quenda
