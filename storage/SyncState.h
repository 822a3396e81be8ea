#pragma once
// What the store remembers for syncing with a calendar server: per day the server's resource, the ETag last
// seen there and whether the note changed here since (table NoteSync), and per collection the server's
// sync token (table SyncCollection). Triggers on UserCon raise a day's change flag and revision in the
// transaction of every write of its note, by this program or anything else, so no change escapes a push.
// A read-only store has no sync state and does not sync.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quenda {

class TDM;

struct DaySyncState {
    QString key;            // the day key YYYYMMDD
    QString href;           // the resource's path on the server; empty before its first push or pull
    QString etag;           // the ETag last seen on the server; empty when the server has no copy we know
    bool changedHere = false;
    qint64 revision = 0;    // counts the note's changes here; sync records only against the one it read
    QString base;           // a fingerprint of the text both sides last agreed on: a server copy with this
                            // text has not changed since, whatever its bytes
};

// Creates the tables and triggers on first open of a writable store; every note already there counts as
// changed here. True when the store has them.
bool PrepareSyncState(const QString& connectionName);

enum class SyncStoreOutcome {
    Stored,
    ChangedMeanwhile, // the note changed here after the sync read it: nothing was written
    Failed,
};

class SyncStateStore {
public:
    explicit SyncStateStore(TDM& dm);

    // The days whose note changed here since their last sync.
    std::optional<QList<DaySyncState>> ChangedDays();
    // The state of `key`: a day never written or synced has revision 0 and no server copy.
    std::optional<DaySyncState> StateOf(const QString& key);
    // Every day with a known server copy.
    std::optional<QList<DaySyncState>> DaysOnServer();

    // The server holds revision `revision` of the note as `etag` at `href`; the change flag falls only when
    // the note has not changed since.
    bool RecordServerCopy(const QString& key, const QString& href, const QString& etag, qint64 revision,
                          const QString& base);
    // Stores a note that came from the server (or a merge) together with its server state, in one
    // transaction and only while the note is still at `revision`; `changedHere` says whether it must still
    // be pushed (a merge must, a plain pull not).
    SyncStoreOutcome StoreFromServer(const DaySyncState& state, const QByteArray& data, const QString& plain);
    // The server's copy is gone: the note stays, and the day is no longer known there.
    bool ForgetServerCopy(const QString& key);

    // The collection this store syncs with. Another URL than the last one starts afresh: no token, no ETag,
    // every note changed here.
    bool UseCollection(const QString& url);
    QString SyncToken();
    bool SetSyncToken(const QString& token);

    const QString& LastError() const { return m_lastError; }

private:
    bool Exec(const QString& statement, const QVariantList& values);
    std::optional<QList<DaySyncState>> Days(const QString& condition, const QVariantList& values);

    TDM& m_dm;
    QString m_lastError;
};

} // namespace quenda
