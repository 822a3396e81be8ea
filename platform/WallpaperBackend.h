#pragma once
// Putting a picture on the desktop as the wallpaper, stretched over the screen. On Windows through the
// user's desktop settings and the system call that applies them; on Linux through the tool of the desktop
// the user runs, chosen by XDG_CURRENT_DESKTOP. The picture's file keeps its name from one installation to
// the next, and desktops do not reload a setting that did not change: every backend first sets another
// value, then the picture, so a repeated installation shows the new picture.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace quenda {

struct WallpaperResult {
    bool ok = false;
    QString message; // for the user, in Chinese, naming the file that holds the picture; empty when ok
    QString detail;  // for developers: which way was tried and what went wrong
};

enum class DesktopFamily { Windows, Gnome, Cinnamon, Mate, Kde, Xfce, OtherX11, Unknown };

// What identifies the user's desktop: XDG_CURRENT_DESKTOP (a colon-separated list, the narrowest name first)
// and whether an X11 or a Wayland display is open.
struct DesktopIdentity {
    QString currentDesktop;
    bool x11 = false;
    bool wayland = false;
};
DesktopIdentity CurrentDesktopIdentity();
DesktopFamily DesktopFamilyOf(const DesktopIdentity& identity);

// One external command, looked up on PATH, and what became of it.
struct CommandLine {
    QString program;
    QStringList arguments;
};
struct CommandOutcome {
    bool found = false; // false when the program is not installed or did not start
    bool finished = false;
    int exitCode = -1;
    QByteArray output; // standard output
    QByteArray errors; // standard error
    bool succeeded() const { return finished && exitCode == 0; }
};
using CommandRunner = std::function<CommandOutcome(const CommandLine&)>;

// Runs the command and waits for it (at most kCommandTimeoutMs, then it is killed).
inline constexpr int kCommandTimeoutMs = 20000;
CommandOutcome RunCommand(const CommandLine& command);

// Installs the picture at `path` on a desktop of `family` through `run`.
WallpaperResult SetWallpaperOn(DesktopFamily family, const QString& path,
                               const CommandRunner& run = RunCommand);

// The program's installation: the replacement when one is set, otherwise the backend of the desktop the
// program runs on.
WallpaperResult InstallDesktopWallpaper(const QString& path);

// Replaces InstallDesktopWallpaper's backend; an empty function restores it. Tests and test builds only.
std::function<WallpaperResult(const QString& path)>& WallpaperSeamForTesting();

// The messages the user sees when the wallpaper could not be set; %1 is the picture's file.
QString NoWallpaperMechanismMessage(const QString& path);
// On a desktop the program does not know (a Wayland compositor other than the supported desktops, where
// no X11 tool can help either): which desktops it supports, and where the picture is.
QString UnknownDesktopMessage(const QString& path);
QString WallpaperCommandFailedMessage(const QString& path);

#ifdef Q_OS_WIN
// The user's desktop settings ("Wallpaper", "WallpaperStyle" 2 = stretched) and the system call.
WallpaperResult SetWindowsWallpaper(const QString& path);
#endif

} // namespace quenda
