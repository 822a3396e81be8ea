#pragma once
// The first start of a user of an installed program (or of a new --data-dir folder): the data folder gets
// the layout a portable copy ships with, Data/UserData.db from the empty-store template and
// source/DeskTopBG/A1.bmp, the default background. Data/ appears last and whole, so a start that is cut
// short leaves no half-made store, and a folder that already holds Data/ is never touched: a store lost
// from it stays the failed-open case and is never replaced by an empty one.

#include <QString>

#include <optional>

namespace quenda {

// The program files the set-up copies, relative to the program files' folder.
inline constexpr const char* kStoreTemplateFile = "templates/UserData.db";
inline constexpr const char* kDefaultBackgroundFile = "source/DeskTopBG/A1.bmp";

// Makes DataFolder() itself when it does not exist yet, readable by the user alone: the one-program guard
// names its socket after the folder's real path, which only an existing folder has. Nothing, or the
// message to show the user when the folder cannot be made.
std::optional<QString> MakeDataFolder();

// Sets up DataFolder() when it is not the program's own folder and holds no Data folder yet (after
// MakeDataFolder, by the one program of that folder). Nothing, or the message to show the user.
std::optional<QString> PrepareDataFolder();

} // namespace quenda
