#include "Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace quenda {

namespace {

#ifdef Q_OS_WIN
const QString kRunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kRunValue = QStringLiteral("QuendaCalendar");

// The Run key holds one command line: the program quoted, then its arguments.
QString windowsCommandLine(const QStringList& command) {
    QStringList quoted;
    for (const QString& part : command)
        quoted.append(part.contains(QLatin1Char(' ')) ? QLatin1Char('"') + part + QLatin1Char('"') : part);
    return quoted.join(QLatin1Char(' '));
}
#else
// A key of the entry's [Desktop Entry] group is set to `value` (case as written by the desktops).
bool entryKeyIs(const QByteArray& entry, const QByteArray& key, const QByteArray& value) {
    for (const QByteArray& line : entry.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed().toLower() == value;
    }
    return false;
}
#endif

} // namespace

QString AutostartEntryPath() {
    // GenericConfigLocation is $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/autostart/") + QString::fromLatin1(kDesktopId) +
           QStringLiteral(".desktop");
}

QString DesktopExecArgument(const QString& argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString escaped = argument;
    escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
    const bool needsQuotes = escaped.isEmpty() || std::any_of(escaped.begin(), escaped.end(),
                                                              [](QChar c) { return kReserved.contains(c); });
    if (!needsQuotes) return escaped;
    QString quoted;
    for (QChar c : escaped) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    // The Exec value is itself a string value, whose own escape turns each backslash into two.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    quoted.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString AutostartDesktopEntry(const QStringList& command) {
    QStringList exec;
    for (const QString& argument : command)
        exec.append(DesktopExecArgument(argument));
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Quenda Desktop Calendar\n"
                          "Name[zh_CN]=Quenda桌面日历\n"
                          "Comment=Lunar month calendar with a note for every day\n"
                          "Comment[zh_CN]=带农历的月历，每天一篇记事\n"
                          "Icon=quenda-calendar\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec.join(QLatin1Char(' ')));
}

#ifdef Q_OS_WIN

bool AutostartEnabled() {
    return QSettings(kRunKey, QSettings::NativeFormat).contains(kRunValue);
}

std::optional<QString> SetAutostart(bool enabled, const QStringList& command) {
    QSettings run(kRunKey, QSettings::NativeFormat);
    if (enabled)
        run.setValue(kRunValue, windowsCommandLine(command));
    else
        run.remove(kRunValue);
    run.sync();
    if (run.status() != QSettings::NoError) return QStringLiteral("无法修改开机启动设置（注册表 Run 键）");
    return std::nullopt;
}

#else

bool AutostartEnabled() {
    QFile file(AutostartEntryPath());
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray entry = file.readAll();
    return !entryKeyIs(entry, "Hidden", "true") && !entryKeyIs(entry, "X-GNOME-Autostart-enabled", "false");
}

std::optional<QString> SetAutostart(bool enabled, const QStringList& command) {
    const QString path = AutostartEntryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path)) return std::nullopt;
        return QStringLiteral("无法删除开机启动文件：%1").arg(path);
    }
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        file.write(AutostartDesktopEntry(command).toUtf8()) < 0 || !file.commit())
        return QStringLiteral("无法写入开机启动文件：%1").arg(path);
    return std::nullopt;
}

#endif

} // namespace quenda
