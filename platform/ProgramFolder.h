#pragma once
// Everything the program keeps lives in its own folder: the note store, the settings and list files, the
// pictures. Paths are written with backslashes and with mixed case ("Data\\" and "data\\", "Mix.bmp" and
// "Mix.Bmp"); on a case-sensitive file system each existing component is matched without regard to case,
// so both spellings name the one folder or file.

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

} // namespace quenda
