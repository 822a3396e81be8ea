#include "uDM.h"

#include "DayNote.h"
#include "Dialogs.h"
#include "ProgramFolder.h"
#include "SyncState.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

#include <algorithm>

namespace quenda {

namespace {

const QString kOpenFailedMessage = QStringLiteral("配置文件加载失败，请重试！");

QSqlDatabase connection(const QString& name) {
    return QSqlDatabase::database(name, false);
}

// A file: URI with mode=rw (or ro) opens an existing store and never creates one.
QString storeUri(const QString& path, const QString& mode) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("mode=") + mode);
    return url.toString(QUrl::FullyEncoded);
}

// An upsert, not "insert or replace": replacing a row would delete it without running the delete
// triggers that keep the full-text index in step.
const QString kWritePlainText = QStringLiteral(
    "insert into NoteText (conIndex, plain, hasText) values (?, ?, ?) on conflict (conIndex) do update set "
    "plain = excluded.plain, hasText = excluded.hasText");

void WritePlainTextCopy(QSqlQuery& query, const QString& key, const QString& plainText) {
    if (!query.prepare(kWritePlainText)) return;
    query.addBindValue(key);
    query.addBindValue(plainText);
    query.addBindValue(HasVisibleText(plainText) ? 1 : 0);
    query.exec();
}

} // namespace

QString DayStatement(const char* head, const QString& key) {
    QString quoted = key;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    QString tail = QString::fromLatin1(kStatementKeyTail);
    tail.replace(QStringLiteral("%s"), QLatin1Char('\'') + quoted + QLatin1Char('\''));
    return QString::fromLatin1(head) + tail;
}

TDM::TDM() : m_connectionName(QStringLiteral("UserData-") + QUuid::createUuid().toString()) {}

TDM::~TDM() {
    { connection(m_connectionName).close(); }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool TDM::DataModuleCreate(QWidget* messageParent) {
    return OpenDatabase(messageParent);
}

bool TDM::OpenDatabase(QWidget* messageParent) {
    if (OpenStore()) return true;
    ShowMessage(messageParent, kOpenFailedMessage);
    return false;
}

QString TDM::StorePath() {
    return DataPath(QStringLiteral("Data\\UserData.db"));
}

bool TDM::OpenStore() {
    const QString path = StorePath();
    // A store the program may not write still loads its notes (saves then fail, and the close button says
    // so). On a read-only disk SQLite cannot make the WAL index beside the store; nobody can change the
    // file there, so it is read as immutable.
    const QFileInfo store(path);
    const bool readOnlyDisk = !QFileInfo(store.absolutePath()).isWritable();
    // An empty file holds no notes and would only become a store by being written to: it is no store.
    if (!store.isFile() || store.size() == 0) return Fail(QStringLiteral("文件不存在或是空的"));
    return Connect(path, QStringLiteral("rw")) || Connect(path, QStringLiteral("ro")) ||
           (readOnlyDisk && Connect(path, QStringLiteral("ro&immutable=1")));
}

bool TDM::Connect(const QString& path, const QString& mode) {
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? connection(m_connectionName)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.close();
    db.setDatabaseName(storeUri(path, mode));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    // SQLite opens lazily: only reading the schema tells a store from a file that is not one.
    if (db.open() && Prepare()) return true;
    if (!db.lastError().text().trimmed().isEmpty()) m_lastError = db.lastError().text();
    db.close();
    return false;
}

// Reads the schema and sets the journal: WAL keeps readers and the one writer apart, and with
// synchronous=NORMAL a committed save is in the WAL file before the statement returns, so it survives
// the process being killed (only a power loss can take the last saves back).
bool TDM::Prepare() {
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(QStringLiteral("select count(*) from sqlite_master")))
        return Fail(query.lastError().text());
    // A store on a read-only disk keeps its journal mode; it still loads.
    query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // A checkpoint writes the store itself and waits for the disk twice: the program runs it when typing
    // pauses (Checkpoint), and SQLite on its own only after kCheckpointPages, so keystrokes rarely wait.
    query.exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(kCheckpointPages));
    PreparePlainTextCopy();
    PrepareSearchIndex();
    m_syncState = PrepareSyncState(m_connectionName);
    return true;
}

// The plain-text copy NoteText is ours: the calendar's note marks and search read it instead of decoding
// every note. Triggers drop a copy whenever its note changes, so a note written by anything that does not
// know the copy (an older program, another tool) is missing from it rather than wrong, and is decoded again
// at the next open. A store that cannot be written, or that has no UserCon, is left exactly as it is.
void TDM::PreparePlainTextCopy() {
    m_plainTextCopy = false;
    if (!HasTable(QStringLiteral("UserCon"))) return;
    static const char* const kSchema[] = {
        "create table if not exists NoteText (conIndex TEXT PRIMARY KEY NOT NULL, plain TEXT NOT NULL, "
        "hasText INTEGER NOT NULL)",
        "create trigger if not exists NoteTextAfterInsert after insert on UserCon begin "
        "delete from NoteText where conIndex = new.conIndex; end",
        "create trigger if not exists NoteTextAfterUpdate after update on UserCon begin "
        "delete from NoteText where conIndex = old.conIndex or conIndex = new.conIndex; end",
    };
    QSqlQuery query(connection(m_connectionName));
    if (query.exec(QStringLiteral("begin immediate"))) {
        bool ok = true;
        for (const char* statement : kSchema)
            ok = ok && query.exec(QString::fromLatin1(statement));
        if (ok && query.exec(QStringLiteral("commit")))
            FillPlainTextCopy(); // what stays missing is decoded when it is asked for
        else
            query.exec(QStringLiteral("rollback"));
    }
    // A read-only store may still hold a copy from an earlier writable start.
    m_plainTextCopy = HasTable(QStringLiteral("NoteText"));
}

bool TDM::HasTable(const QString& name) {
    QSqlQuery query(connection(m_connectionName));
    query.prepare(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?"));
    query.addBindValue(name);
    return query.exec() && query.next();
}

// Decodes the notes that have no plain-text copy yet, all in one transaction.
bool TDM::FillPlainTextCopy() {
    QSqlDatabase db = connection(m_connectionName);
    QSqlQuery missing(db);
    missing.setForwardOnly(true);
    if (!missing.exec(QStringLiteral("begin immediate"))) return false;
    bool ok = missing.exec(QStringLiteral("select u.conIndex, u.data from UserCon u where not exists "
                                          "(select 1 from NoteText t where t.conIndex = u.conIndex)"));
    QSqlQuery insert(db);
    ok = ok && insert.prepare(kWritePlainText);
    while (ok && missing.next()) {
        const QString plain = NotePlainText(missing.value(1).toByteArray());
        insert.addBindValue(missing.value(0).toString());
        insert.addBindValue(plain);
        insert.addBindValue(HasVisibleText(plain) ? 1 : 0);
        ok = insert.exec();
    }
    missing.finish();
    if (ok && missing.exec(QStringLiteral("commit"))) return true;
    Fail(missing.lastError().isValid() ? missing.lastError().text() : insert.lastError().text());
    missing.exec(QStringLiteral("rollback"));
    return false;
}

bool HasVisibleText(const QString& plainText) {
    return std::any_of(plainText.begin(), plainText.end(), [](QChar c) { return !c.isSpace(); });
}

std::optional<QSet<QString>> TDM::KeysWithText(const QString& first, const QString& last) {
    QSqlQuery query(connection(m_connectionName));
    query.setForwardOnly(true);
    // Without the copy every note of the range is decoded; with it, only those the copy lacks.
    query.prepare(m_plainTextCopy
                      ? QStringLiteral("select u.conIndex, t.hasText, case when t.conIndex is null then "
                                       "u.data end from UserCon u left join NoteText t on t.conIndex = "
                                       "u.conIndex where u.conIndex between ? and ?")
                      : QStringLiteral("select conIndex, null, data from UserCon where conIndex between ? "
                                       "and ?"));
    query.addBindValue(first);
    query.addBindValue(last);
    if (!query.exec()) {
        Fail(query.lastError().text());
        return std::nullopt;
    }
    QSet<QString> keys;
    while (query.next()) {
        const bool hasText = query.isNull(1) ? HasVisibleText(NotePlainText(query.value(2).toByteArray()))
                                             : query.value(1).toInt() != 0;
        if (hasText) keys.insert(query.value(0).toString());
    }
    return keys;
}

void TDM::Checkpoint() {
    QSqlQuery query(connection(m_connectionName));
    query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

bool TDM::SetSynchronous(const QString& level) {
    QSqlQuery query(connection(m_connectionName));
    return query.exec(QStringLiteral("PRAGMA synchronous=") + level);
}

bool TDM::Fail(const QString& error) {
    m_lastError = error;
    return false;
}

std::optional<StoredNote> TDM::ReadNote(const QString& key) {
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(DayStatement(kLoadStatementHead, key))) {
        Fail(query.lastError().text());
        return std::nullopt;
    }
    StoredNote note;
    if (query.next()) {
        const int column = query.record().indexOf(QStringLiteral("data"));
        if (column < 0) {
            Fail(QStringLiteral("UserCon has no column data"));
            return std::nullopt;
        }
        note.found = true;
        note.data = query.value(column).toByteArray();
    } else if (query.lastError().isValid()) {
        Fail(query.lastError().text());
        return std::nullopt;
    }
    return note;
}

bool TDM::WriteNote(const QString& key, const QByteArray& data, const QString& plainText) {
    QSqlQuery query(connection(m_connectionName));
    // IMMEDIATE takes the write lock at once, so the select and the write that follows see one state.
    if (!query.exec(QStringLiteral("begin immediate"))) return Fail(query.lastError().text());
    if (StoreRow(query, key, data, plainText) && query.exec(QStringLiteral("commit"))) return true;
    Fail(query.lastError().text());
    query.exec(QStringLiteral("rollback"));
    return false;
}

// The save's statement, then the row updated when it exists, else inserted; inside the caller's
// transaction.
bool TDM::StoreRow(QSqlQuery& query, const QString& key, const QByteArray& data, const QString& plainText) {
    bool ok = query.exec(DayStatement(kSaveStatementHead, key));
    const bool exists = ok && query.next();
    query.finish();
    if (!ok) return false;
    ok = query.prepare(exists ? QStringLiteral("update UserCon set data = ? where conIndex = ?")
                              : QStringLiteral("insert into UserCon (conIndex, data) values (?, ?)"));
    query.addBindValue(exists ? QVariant(data) : QVariant(key));
    query.addBindValue(exists ? QVariant(key) : QVariant(data));
    ok = ok && query.exec();
    // The copy follows its note; should it fail, the trigger has already dropped the stale copy and
    // the note is still stored.
    if (ok && m_plainTextCopy) WritePlainTextCopy(query, key, plainText);
    return ok;
}

bool TDM::WriteNoteInTransaction(const QString& key, const QByteArray& data, const QString& plainText) {
    QSqlQuery query(connection(m_connectionName));
    return StoreRow(query, key, data, plainText) || Fail(query.lastError().text());
}

bool TDM::ChangeNotes(const QStringList& keys, const NoteDecision& decide) {
    QSqlQuery query(connection(m_connectionName));
    if (!query.exec(QStringLiteral("begin immediate"))) return Fail(query.lastError().text());
    // Inside the write lock: what each decision sees is what is stored, even while another program saves.
    bool ok = true;
    for (qsizetype i = 0; ok && i < keys.size(); ++i) {
        const std::optional<StoredNote> note = ReadNote(keys[i]);
        ok = note.has_value();
        const std::optional<NoteChange> change = ok ? decide(keys[i], *note) : std::nullopt;
        if (change) ok = StoreRow(query, change->key, change->data, change->plainText);
    }
    if (ok && query.exec(QStringLiteral("commit"))) return true;
    if (query.lastError().isValid()) Fail(query.lastError().text());
    query.exec(QStringLiteral("rollback"));
    return false;
}

bool TDM::ForEachNote(const QString& first, const QString& last,
                      const std::function<void(const QString& key, const QByteArray& data)>& visit) {
    QSqlQuery query(connection(m_connectionName));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select conIndex, data from UserCon where conIndex between ? and ? "
                                 "order by conIndex"));
    query.addBindValue(first);
    query.addBindValue(last);
    if (!query.exec()) return Fail(query.lastError().text());
    while (query.next())
        visit(query.value(0).toString(), query.value(1).toByteArray());
    return true;
}

} // namespace quenda
