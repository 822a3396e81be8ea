#include "uDM.h"

#include "Dialogs.h"
#include "ProgramFolder.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

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
    const QString path = ProgramPath(QStringLiteral("Data\\UserData.db"));
    // A store the program may not write still loads its notes (saves then fail, and the close button says
    // so). On a read-only disk SQLite cannot make the WAL index beside the store; nobody can change the
    // file there, so it is read as immutable.
    const QFileInfo store(path);
    const bool readOnlyDisk = !QFileInfo(store.absolutePath()).isWritable();
    // An empty file holds no notes and would only become a store by being written to: it is no store.
    const bool opened = store.isFile() && store.size() > 0 &&
                        (Connect(path, QStringLiteral("rw")) || Connect(path, QStringLiteral("ro")) ||
                         (readOnlyDisk && Connect(path, QStringLiteral("ro&immutable=1"))));
    if (opened) return true;
    ShowMessage(messageParent, kOpenFailedMessage);
    return false;
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
    return true;
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

bool TDM::WriteNote(const QString& key, const QByteArray& data) {
    QSqlQuery query(connection(m_connectionName));
    // IMMEDIATE takes the write lock at once, so the select and the write that follows see one state.
    if (!query.exec(QStringLiteral("begin immediate"))) return Fail(query.lastError().text());
    bool ok = query.exec(DayStatement(kSaveStatementHead, key));
    const bool exists = ok && query.next();
    query.finish();
    if (ok) {
        ok = query.prepare(exists ? QStringLiteral("update UserCon set data = ? where conIndex = ?")
                                  : QStringLiteral("insert into UserCon (conIndex, data) values (?, ?)"));
        query.addBindValue(exists ? QVariant(data) : QVariant(key));
        query.addBindValue(exists ? QVariant(key) : QVariant(data));
        ok = ok && query.exec() && query.exec(QStringLiteral("commit"));
    }
    if (ok) return true;
    Fail(query.lastError().text());
    query.exec(QStringLiteral("rollback"));
    return false;
}

} // namespace quenda
