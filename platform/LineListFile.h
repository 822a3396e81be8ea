#pragma once
// The settings and list files: one value a line, read by position, written anew as a whole, lines ended by
// CR LF, in GBK. They are read and written as GB18030, which decodes every GBK file the same and writes
// GBK's bytes for every GBK character, while a name outside GBK survives instead of turning into "?".

#include <QString>
#include <QStringList>

#include <optional>

namespace quenda {

// Larger files are not list files of ours: reading refuses them rather than holding them in memory.
inline constexpr qint64 kMaxLineListBytes = 4 * 1024 * 1024;

// The lines of the file, as a text list reads them: CR LF, LF or CR end a line; a last line without an
// ending still counts; an empty file has no lines. Nothing when the file is missing, unreadable or larger
// than kMaxLineListBytes.
std::optional<QStringList> ReadLineList(const QString& path);

// Writes each line followed by CR LF, replacing the file in one step (a crash leaves the old file or the
// new one, never half of either). False when the file cannot be written.
bool WriteLineList(const QString& path, const QStringList& lines);

// The bytes a list file holds for `lines`, and the lines of such bytes (the two halves of the above).
QByteArray EncodeLineList(const QStringList& lines);
QStringList DecodeLineList(const QByteArray& bytes);

// Line `index` of `lines` as a whole decimal number (blanks around it allowed), if there is one.
std::optional<int> LineAsInt(const QStringList& lines, int index);

} // namespace quenda
