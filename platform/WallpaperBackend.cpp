// Choosing the desktop's backend, running its commands, and the messages of a failed installation.
#include "WallpaperBackend.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace quenda {

// The Linux desktops' ways, in LinuxWallpaper.cpp.
WallpaperResult SetLinuxWallpaper(DesktopFamily family, const QString& path, const CommandRunner& run);

namespace {

DesktopFamily familyOfName(const QString& name) {
    // clang-format off
    static const struct { const char* name; DesktopFamily family; } kNames[] = {
        {"gnome", DesktopFamily::Gnome}, {"gnome-classic", DesktopFamily::Gnome},
        {"gnome-flashback", DesktopFamily::Gnome}, {"ubuntu", DesktopFamily::Gnome},
        {"unity", DesktopFamily::Gnome}, {"budgie", DesktopFamily::Gnome},
        {"pantheon", DesktopFamily::Gnome}, {"pop", DesktopFamily::Gnome},
        {"x-cinnamon", DesktopFamily::Cinnamon}, {"cinnamon", DesktopFamily::Cinnamon},
        {"mate", DesktopFamily::Mate},
        {"kde", DesktopFamily::Kde},
        {"xfce", DesktopFamily::Xfce},
    };
    // clang-format on
    for (const auto& entry : kNames)
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) return entry.family;
    return DesktopFamily::Unknown;
}

} // namespace

DesktopIdentity CurrentDesktopIdentity() {
    return {qEnvironmentVariable("XDG_CURRENT_DESKTOP"), !qEnvironmentVariableIsEmpty("DISPLAY"),
            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")};
}

DesktopFamily DesktopFamilyOf(const DesktopIdentity& identity) {
#ifdef Q_OS_WIN
    Q_UNUSED(identity);
    return DesktopFamily::Windows;
#else
    for (const QString& name : identity.currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const DesktopFamily family = familyOfName(name.trimmed());
        if (family != DesktopFamily::Unknown) return family;
    }
    // A plain X11 session (a window manager without a desktop): the root window's picture, set by feh.
    if (identity.x11 && !identity.wayland) return DesktopFamily::OtherX11;
    return DesktopFamily::Unknown;
#endif
}

CommandOutcome RunCommand(const CommandLine& command) {
    CommandOutcome outcome;
    const QString program = QStandardPaths::findExecutable(command.program);
    if (program.isEmpty()) return outcome;
    QProcess process;
    process.start(program, command.arguments);
    if (!process.waitForStarted()) return outcome;
    outcome.found = true;
    process.closeWriteChannel();
    if (!process.waitForFinished(kCommandTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    outcome.finished = process.exitStatus() == QProcess::NormalExit;
    outcome.exitCode = process.exitCode();
    outcome.output = process.readAllStandardOutput();
    outcome.errors = process.readAllStandardError();
    return outcome;
}

WallpaperResult SetWallpaperOn(DesktopFamily family, const QString& path, const CommandRunner& run) {
    switch (family) {
    case DesktopFamily::Windows:
#ifdef Q_OS_WIN
        return SetWindowsWallpaper(path);
#else
        break;
#endif
    case DesktopFamily::Unknown:
        return {false, UnknownDesktopMessage(path), QStringLiteral("no known desktop")};
    default:
        return SetLinuxWallpaper(family, path, run);
    }
    return {false, NoWallpaperMechanismMessage(path), QStringLiteral("no known desktop")};
}

std::function<WallpaperResult(const QString& path)>& WallpaperSeamForTesting() {
    static std::function<WallpaperResult(const QString& path)> seam;
    return seam;
}

WallpaperResult InstallDesktopWallpaper(const QString& path) {
    if (const auto& replacement = WallpaperSeamForTesting()) return replacement(path);
    return SetWallpaperOn(DesktopFamilyOf(CurrentDesktopIdentity()), path);
}

QString NoWallpaperMechanismMessage(const QString& path) {
    return QStringLiteral(
               "无法自动更换这个桌面的壁纸。壁纸图片已保存在：\n%1\n请在桌面设置中选择它作为壁纸。")
        .arg(QDir::toNativeSeparators(path));
}

QString UnknownDesktopMessage(const QString& path) {
    return QStringLiteral("无法自动更换这个桌面的壁纸。能自动更换壁纸的桌面有：GNOME（以及 Ubuntu、Budgie、"
                          "Unity 等）、Cinnamon、MATE、KDE Plasma 和 XFCE。\n壁纸图片已保存在：\n%1\n"
                          "请在桌面设置中选择它作为壁纸。")
        .arg(QDir::toNativeSeparators(path));
}

QString WallpaperCommandFailedMessage(const QString& path) {
    return QStringLiteral("设置桌面壁纸失败。壁纸图片已保存在：\n%1").arg(QDir::toNativeSeparators(path));
}

} // namespace quenda
