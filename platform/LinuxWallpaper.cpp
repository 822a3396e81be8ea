// The Linux desktops' ways of setting the wallpaper: each desktop family's own command line tool.
#include "WallpaperBackend.h"

#include <QUrl>

#include <vector>

namespace quenda {

WallpaperResult SetLinuxWallpaper(DesktopFamily family, const QString& path, const CommandRunner& run);

namespace {

// Runs commands in order and stops at the first that fails (unless it is optional).
class CommandSequence {
public:
    CommandSequence(const QString& path, const CommandRunner& run) : m_path(path), m_run(run) {}

    bool step(const QString& program, const QStringList& arguments, bool optional = false) {
        m_last = m_run({program, arguments});
        if (m_last.succeeded() || optional) return true;
        m_failed = CommandLine{program, arguments};
        return false;
    }
    const CommandOutcome& last() const { return m_last; }

    WallpaperResult success() const { return {true, QString(), QString()}; }
    WallpaperResult failure() const {
        const QString command =
            m_failed.program + QLatin1Char(' ') + m_failed.arguments.join(QLatin1Char(' '));
        if (!m_last.found)
            return {false, NoWallpaperMechanismMessage(m_path), QStringLiteral("not installed: ") + command};
        const QString how = m_last.finished ? QStringLiteral("exit code %1").arg(m_last.exitCode)
                                            : QStringLiteral("did not finish");
        return {false, WallpaperCommandFailedMessage(m_path),
                command + QStringLiteral(": ") + how + QLatin1Char(' ') +
                    QString::fromLocal8Bit(m_last.errors)};
    }

private:
    QString m_path;
    const CommandRunner& m_run;
    CommandOutcome m_last;
    CommandLine m_failed;
};

QString fileUri(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

// A string in GVariant's text form, as gsettings parses its value argument.
QString gvariantString(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// GNOME keeps a second picture for its dark style (from GNOME 42); older versions have no such key, so
// that key's failure does not count. Cinnamon and MATE have one picture.
WallpaperResult setByGsettings(const QString& schema, const QString& key, const QString& value, bool darkKey,
                               const QString& path, const CommandRunner& run) {
    CommandSequence commands(path, run);
    const QString gsettings = QStringLiteral("gsettings");
    auto set = [&](const QString& name, const QString& text, bool optional = false) {
        return commands.step(gsettings, {QStringLiteral("set"), schema, name, gvariantString(text)},
                             optional);
    };
    const QString dark = QStringLiteral("picture-uri-dark");
    const bool ok = set(QStringLiteral("picture-options"), QStringLiteral("stretched")) &&
                    set(key, QString()) && set(key, value) &&
                    (!darkKey || (set(dark, QString(), true) && set(dark, value, true)));
    return ok ? commands.success() : commands.failure();
}

// Plasma's desktop scripting: every desktop gets the image wallpaper with the picture, scaled (fill
// mode 0, "stretch").
QString plasmaScript(const QString& image) {
    QString literal = image;
    literal.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QStringLiteral("var all = desktops();\n"
                          "for (var i = 0; i < all.length; i++) {\n"
                          "    var d = all[i];\n"
                          "    d.wallpaperPlugin = \"org.kde.image\";\n"
                          "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
                          "    d.writeConfig(\"Image\", \"%1\");\n"
                          "    d.writeConfig(\"FillMode\", 0);\n"
                          "}\n")
        .arg(literal);
}

// Plasma reads its configuration once a script has run, so the other value needs a script of its own.
WallpaperResult setOnPlasma(const QString& path, const CommandRunner& run) {
    CommandSequence commands(path, run);
    auto evaluate = [&](const QString& image) {
        return commands.step(QStringLiteral("dbus-send"),
                             {QStringLiteral("--session"), QStringLiteral("--dest=org.kde.plasmashell"),
                              QStringLiteral("--type=method_call"), QStringLiteral("--print-reply"),
                              QStringLiteral("/PlasmaShell"),
                              QStringLiteral("org.kde.PlasmaShell.evaluateScript"),
                              QStringLiteral("string:") + plasmaScript(image)});
    };
    return evaluate(QString()) && evaluate(fileUri(path)) ? commands.success() : commands.failure();
}

// XFCE keeps one picture per monitor and workspace, each under a property ending in "last-image";
// image-style 3 is "stretched".
WallpaperResult setOnXfce(const QString& path, const CommandRunner& run) {
    CommandSequence commands(path, run);
    const QString xfconf = QStringLiteral("xfconf-query");
    const QStringList channel{QStringLiteral("-c"), QStringLiteral("xfce4-desktop")};
    if (!commands.step(xfconf, channel + QStringList{QStringLiteral("-l")})) return commands.failure();
    const QString suffix = QStringLiteral("/last-image");
    std::vector<QString> pictures;
    for (const QString& line : QString::fromLocal8Bit(commands.last().output).split(QLatin1Char('\n')))
        if (line.trimmed().endsWith(suffix)) pictures.push_back(line.trimmed());
    if (pictures.empty())
        return {false, NoWallpaperMechanismMessage(path), QStringLiteral("xfconf-query lists no last-image")};
    for (const QString& property : pictures) {
        const QString style = property.chopped(suffix.size()) + QStringLiteral("/image-style");
        const bool ok =
            commands.step(xfconf, channel + QStringList{QStringLiteral("-p"), style, QStringLiteral("-n"),
                                                        QStringLiteral("-t"), QStringLiteral("int"),
                                                        QStringLiteral("-s"), QStringLiteral("3")}) &&
            commands.step(xfconf, channel + QStringList{QStringLiteral("-p"), property, QStringLiteral("-s"),
                                                        QString()}) &&
            commands.step(xfconf,
                          channel + QStringList{QStringLiteral("-p"), property, QStringLiteral("-s"), path});
        if (!ok) return commands.failure();
    }
    return commands.success();
}

// feh paints the root window and reads the file each time, so once is enough.
WallpaperResult setWithFeh(const QString& path, const CommandRunner& run) {
    CommandSequence commands(path, run);
    return commands.step(QStringLiteral("feh"), {QStringLiteral("--bg-scale"), path}) ? commands.success()
                                                                                      : commands.failure();
}

} // namespace

WallpaperResult SetLinuxWallpaper(DesktopFamily family, const QString& path, const CommandRunner& run) {
    switch (family) {
    case DesktopFamily::Gnome:
        return setByGsettings(QStringLiteral("org.gnome.desktop.background"), QStringLiteral("picture-uri"),
                              fileUri(path), true, path, run);
    case DesktopFamily::Cinnamon:
        return setByGsettings(QStringLiteral("org.cinnamon.desktop.background"),
                              QStringLiteral("picture-uri"), fileUri(path), false, path, run);
    case DesktopFamily::Mate: // a path, not a URI
        return setByGsettings(QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"), path,
                              false, path, run);
    case DesktopFamily::Kde:
        return setOnPlasma(path, run);
    case DesktopFamily::Xfce:
        return setOnXfce(path, run);
    case DesktopFamily::OtherX11:
        return setWithFeh(path, run);
    default:
        return {false, NoWallpaperMechanismMessage(path), QStringLiteral("no known desktop")};
    }
}

} // namespace quenda
