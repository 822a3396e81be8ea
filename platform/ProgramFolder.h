#pragma once
// Two folders matter to the program: the user's data (the note store, the settings and list files, the
// background and month pictures) and the program's own read-only files (pages, the default background, the
// empty-store template, the holiday data). A portable copy keeps both in the executable's folder. Paths are
// written with backslashes and with mixed case ("Data\\" and "data\\", "Mix.bmp" and "Mix.Bmp"); on a
// case-sensitive file system each existing component is matched without regard to case, so both spellings
// name the one folder or file.

#include <QString>

namespace quenda {

// The executable's folder, without a trailing separator.
QString ProgramFolder();

// Points the program folder elsewhere; an empty folder restores the executable's. Only tests call this.
void SetProgramFolderForTesting(const QString& folder);

// The program folder plus `relative` (backslashes or slashes), resolved by ResolvePath.
QString ProgramPath(const QString& relative);

// `base` plus `relative`: each component of `relative` that matches an existing entry without regard to
// case takes that entry's spelling; an exact match wins over others; components past the first one that
// does not exist keep their spelling, so the result can name a file that is about to be created.
QString ResolvePath(const QString& base, const QString& relative);

// The folder that holds the user's Data\ and source\ folders: the one set by SetDataFolder, else
// UserDataHome() for an installed program, else the program folder.
QString DataFolder();

// Makes `folder` the user's data folder (the command line's --data-dir, an installed program's per-user
// folder); an empty folder goes back to the program folder.
void SetDataFolder(const QString& folder);

// The data folder plus `relative`, resolved by ResolvePath.
QString DataPath(const QString& relative);

// The program's own read-only files (pages, the default background, the holiday data) plus `relative`.
QString ProgramFilePath(const QString& relative);

// True when the program runs from an installed tree: its folder holds no Data folder and the program files
// lie in ../share/quenda-calendar beside it (/usr/bin and /usr/share/quenda-calendar). The user's data
// then lives in UserDataHome() and the program files in that share folder. A folder that holds Data is a
// portable copy, read-only or not: its notes are the ones it carries.
bool RunsInstalled();

// An installed program's per-user data folder: $XDG_DATA_HOME/quenda-calendar (~/.local/share/... by
// default); empty when the system names no home for the user's data.
QString UserDataHome();

} // namespace quenda
