#pragma once
// Settings that the program's own list files have no place for (Monday-first weeks, which marks the
// calendar shows, autostart, sync): one UTF-8 ini file, Data/Settings.ini, beside the list files, whose
// formats stay as they are. A missing or damaged file reads as the defaults.

#include <QString>
#include <QVariant>

namespace quenda {

// Data/Settings.ini in the user's data folder.
QString OurSettingsPath();

// The value stored under `key` ("calendar/mondayFirst"), or `fallback` when there is none.
QVariant ReadOurSetting(const QString& key, const QVariant& fallback);

// Stores `value` under `key` at once; false when the file could not be written (a read-only folder).
bool WriteOurSetting(const QString& key, const QVariant& value);

} // namespace quenda
