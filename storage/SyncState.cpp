#include "SyncState.h"

#include "uDM.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace quenda {

namespace {

QSqlDatabase connection(const QString& name) {
    return QSqlDatabase::database(name, false);
}

// A note's write raises its day's flag and revision; writing the same bytes again (the editor stores on
// leaving it) changes nothing that would need a push.
// clang-format off
const char* const kSyncSchema[] = {
    "create table if not exists NoteSync (conIndex TEXT PRIMARY KEY NOT NULL, href TEXT, etag TEXT, "
        "changedHere INTEGER NOT NULL DEFAULT 1, revision INTEGER NOT NULL DEFAULT 1, base TEXT)",
    "create table if not exists SyncCollection (url TEXT PRIMARY KEY NOT NULL, token TEXT)",
    "create trigger if not exists NoteSyncAfterInsert after insert on UserCon begin "
        "insert or ignore into NoteSync (conIndex, revision) values (new.conIndex, 0); "
        "update NoteSync set changedHere = 1, revision = revision + 1 where conIndex = new.conIndex; end",
    "create trigger if not exists NoteSyncAfterUpdate after update on UserCon "
        "when old.data is not new.data begin "
        "insert or ignore into NoteSync (conIndex, revision) values (new.conIndex, 0); "
        "update NoteSync set changedHere = 1, revision = revision + 1 where conIndex = new.conIndex; end",
    "insert or ignore into NoteSync (conIndex) select conIndex from UserCon",
};
// clang-format on

constexpr char kStateColumns[] = "select conIndex, coalesce(href, ''), coalesce(etag, ''), changedHere, "
                                 "revision, coalesce(base, '') from NoteSync ";

} // namespace

bool PrepareSyncState(const QString& connectionName) {
    QSqlQuery query(connection(connectionName));
    if (!query.exec(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = 'UserCon'")) ||
        !query.next())
        return false;
    if (!query.exec(QStringLiteral("begin immediate"))) return false;
    bool ok = true;
    for (const char* statement : kSyncSchema)
        ok = ok && query.exec(QString::fromLatin1(statement));
    if (ok && query.exec(QStringLiteral("commit"))) return true;
    query.exec(QStringLiteral("rollback"));
    return false;
}

SyncStateStore::SyncStateStore(TDM& dm) : m_dm(dm) {}

bool SyncStateStore::Exec(const QString& statement, const QVariantList& values) {
    QSqlQuery query(connection(m_dm.ConnectionName()));
    bool ok = query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (!ok) m_lastError = query.lastError().text();
    return ok;
}

std::optional<QList<DaySyncState>> SyncStateStore::Days(const QString& condition,
                                                        const QVariantList& values) {
    QSqlQuery query(connection(m_dm.ConnectionName()));
    query.setForwardOnly(true);
    bool ok = query.prepare(QString::fromLatin1(kStateColumns) + condition);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!ok || !query.exec()) {
        m_lastError = query.lastError().text();
        return std::nullopt;
    }
    QList<DaySyncState> days;
    while (query.next())
        days.append({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                     query.value(3).toInt() != 0, query.value(4).toLongLong(), query.value(5).toString()});
    return days;
}

std::optional<QList<DaySyncState>> SyncStateStore::ChangedDays() {
    return Days(QStringLiteral("where changedHere <> 0 order by conIndex"), {});
}

std::optional<QList<DaySyncState>> SyncStateStore::DaysOnServer() {
    return Days(QStringLiteral("where coalesce(etag, '') <> ''"), {});
}

std::optional<DaySyncState> SyncStateStore::StateOf(const QString& key) {
    const auto days = Days(QStringLiteral("where conIndex = ?"), {key});
    if (!days) return std::nullopt;
    if (days->isEmpty()) return DaySyncState{key, {}, {}, false, 0, {}};
    return days->first();
}

bool SyncStateStore::RecordServerCopy(const QString& key, const QString& href, const QString& etag,
                                      qint64 revision, const QString& base) {
    if (!Exec(QStringLiteral("insert or ignore into NoteSync (conIndex, changedHere, revision) "
                             "values (?, 0, 0)"),
              {key}))
        return false;
    return Exec(QStringLiteral("update NoteSync set href = ?, etag = ?, base = ?, changedHere = "
                               "(case when revision = ? then 0 else changedHere end) where conIndex = ?"),
                {href, etag, base, revision, key});
}

SyncStoreOutcome SyncStateStore::StoreFromServer(const DaySyncState& state, const QByteArray& data,
                                                 const QString& plain) {
    QSqlQuery query(connection(m_dm.ConnectionName()));
    if (!query.exec(QStringLiteral("begin immediate"))) {
        m_lastError = query.lastError().text();
        return SyncStoreOutcome::Failed;
    }
    const std::optional<DaySyncState> now = StateOf(state.key);
    if (now && now->revision != state.revision) {
        query.exec(QStringLiteral("rollback"));
        return SyncStoreOutcome::ChangedMeanwhile;
    }
    const bool ok = now && m_dm.WriteNoteInTransaction(state.key, data, plain) &&
                    Exec(QStringLiteral("update NoteSync set href = ?, etag = ?, base = ?, changedHere = ? "
                                        "where conIndex = ?"),
                         {state.href, state.etag, state.base, state.changedHere ? 1 : 0, state.key}) &&
                    query.exec(QStringLiteral("commit"));
    if (ok) return SyncStoreOutcome::Stored;
    m_lastError = m_dm.LastError();
    query.exec(QStringLiteral("rollback"));
    return SyncStoreOutcome::Failed;
}

bool SyncStateStore::ForgetServerCopy(const QString& key) {
    return Exec(QStringLiteral("update NoteSync set etag = null where conIndex = ?"), {key});
}

bool SyncStateStore::UseCollection(const QString& url) {
    QSqlQuery query(connection(m_dm.ConnectionName()));
    if (!query.exec(QStringLiteral("select url from SyncCollection"))) {
        m_lastError = query.lastError().text();
        return false;
    }
    QStringList urls;
    while (query.next())
        urls.append(query.value(0).toString());
    if (urls == QStringList{url}) return true;
    bool ok = query.exec(QStringLiteral("begin immediate"));
    ok = ok && query.exec(QStringLiteral("delete from SyncCollection")) &&
         Exec(QStringLiteral("insert into SyncCollection (url, token) values (?, '')"), {url}) &&
         query.exec(QStringLiteral("update NoteSync set href = null, etag = null, base = null, changedHere = 1")) &&
         query.exec(QStringLiteral("commit"));
    if (!ok) {
        m_lastError = query.lastError().text();
        query.exec(QStringLiteral("rollback"));
    }
    return ok;
}

QString SyncStateStore::SyncToken() {
    QSqlQuery query(connection(m_dm.ConnectionName()));
    return query.exec(QStringLiteral("select coalesce(token, '') from SyncCollection")) && query.next()
               ? query.value(0).toString()
               : QString();
}

bool SyncStateStore::SetSyncToken(const QString& token) {
    return Exec(QStringLiteral("update SyncCollection set token = ?"), {token});
}

} // namespace quenda
