#pragma once
// Starting the program when the user logs in. On Linux (and other XDG desktops) a desktop entry of ours in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart); on Windows a value under the current user's Run key.
// Either holds the command that starts this very program, with --minimized.

#include <QString>
#include <QStringList>

#include <optional>

namespace quenda {

// The program's desktop entry id: the menu entry is ID.desktop, and so is the autostart entry.
inline constexpr const char* kDesktopId = "org.quenda.calendar";

// Where the autostart entry lives: $XDG_CONFIG_HOME/autostart/ID.desktop.
QString AutostartEntryPath();

// True when the user's session starts the program at login: our entry exists and is not switched off
// (Hidden=true, or X-GNOME-Autostart-enabled=false as the desktop's start-up settings write it).
bool AutostartEnabled();

// Writes or removes the entry that runs `command` (the program and its arguments) at login. Nothing, or
// the message to show when the entry could not be written or removed.
std::optional<QString> SetAutostart(bool enabled, const QStringList& command);

// The autostart desktop entry's text for `command`.
QString AutostartDesktopEntry(const QStringList& command);

// One argument of a desktop entry's Exec key: quoted where the desktop entry format asks for it, with its
// reserved characters escaped, and '%' doubled so no field code is read into it.
QString DesktopExecArgument(const QString& argument);

} // namespace quenda
