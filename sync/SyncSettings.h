#pragma once
// What the sync is set up with. The server's address, the user name and the switch live in a plain file
// of ours, Data/Sync.ini (url=, user=, enabled=, and interval= seconds between pulls), so scripts and
// tests can write it; the password lives in the desktop's secret store (libsecret) where there is one,
// otherwise in Data/SyncPassword, a file only the user may read.

#include <QString>
#include <QUrl>

#include <optional>

namespace quenda {

struct SyncSettings {
    QString url;            // the calendar collection, for example https://host/remote.php/dav/calendars/me/notes/
    QString user;           // empty for a server that needs no password
    bool enabled = false;
    int intervalSeconds = 300; // between two pulls
};

QString SyncSettingsPath();
SyncSettings ReadSyncSettings();
bool WriteSyncSettings(const SyncSettings& settings);

// The collection's URL when the settings name an http or https one; nothing otherwise.
std::optional<QUrl> CollectionUrl(const SyncSettings& settings);

// True when sync is switched on and names a collection.
bool SyncConfigured(const SyncSettings& settings);

enum class PasswordPlace {
    SecretService, // the desktop's secret store
    File,          // Data/SyncPassword, readable only by the user
};

// Where a password stored now would go.
PasswordPlace WherePasswordsGo();
// The stored password for `settings`' server and user; empty when there is none.
QString ReadSyncPassword(const SyncSettings& settings);
// Stores the password where WherePasswordsGo says (an empty one removes it); nothing when that failed.
std::optional<PasswordPlace> StoreSyncPassword(const SyncSettings& settings, const QString& password);

} // namespace quenda
