#include "StoreBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>
#include <QUuid>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quenda {

namespace {

// SQLite's primary result codes that have words of their own for the user.
constexpr int kSqliteReadOnly = 8, kSqliteIoError = 10, kSqliteFull = 13, kSqliteCantOpen = 14;

QString Reason(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff; // extended codes keep the primary one below
    if (code == kSqliteFull) return QStringLiteral("磁盘空间不足");
    if (code == kSqliteCantOpen || code == kSqliteReadOnly) return QStringLiteral("没有写入权限");
    if (code == kSqliteIoError) return QStringLiteral("读写出错（%1）").arg(error.databaseText());
    return error.text();
}

QString Uri(const QString& path, const QString& mode) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("mode=") + mode);
    return url.toString(QUrl::FullyEncoded);
}

// Runs `work` on a connection of its own to `path` and closes it again; the error it leaves, if any.
template <typename Work> std::optional<QSqlError> WithConnection(const QString& path, const QString& mode, Work work) {
    const QString name = QStringLiteral("backup-") + QUuid::createUuid().toString();
    std::optional<QSqlError> error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(Uri(path, mode));
        // The program's saves hold the write lock for a moment only; a reader waits for them briefly.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            error = db.lastError();
        } else {
            QSqlQuery query(db);
            error = work(query);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

std::optional<QSqlError> CopyInto(const QString& storePath, const QString& copy) {
    // A store on a read-only disk cannot get the log's index beside it; nobody changes it there.
    const bool readOnlyDisk = !QFileInfo(QFileInfo(storePath).absolutePath()).isWritable();
    return WithConnection(storePath, QLatin1String(readOnlyDisk ? "ro&immutable=1" : "ro"),
                          [&](QSqlQuery& query) -> std::optional<QSqlError> {
                              query.prepare(QStringLiteral("vacuum into ?"));
                              query.addBindValue(copy);
                              if (query.exec()) return std::nullopt;
                              return query.lastError();
                          });
}

// PRAGMA integrity_check answers one row "ok" for a sound database.
std::optional<QString> CheckCopy(const QString& copy) {
    QString answer;
    const auto error = WithConnection(copy, QStringLiteral("ro"), [&](QSqlQuery& query) -> std::optional<QSqlError> {
        if (!query.exec(QStringLiteral("PRAGMA integrity_check"))) return query.lastError();
        while (query.next())
            answer += query.value(0).toString();
        return std::nullopt;
    });
    if (error) return Reason(*error);
    if (answer != QLatin1String("ok")) return QStringLiteral("副本检查未通过（%1）").arg(answer);
    return std::nullopt;
}

// The copy reaches the disk before it takes the target's name, so a crash leaves the old file or the
// whole new one.
bool FlushToDisk(const QString& path) {
#ifdef Q_OS_UNIX
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(path);
    return true;
#endif
}

} // namespace

BackupOutcome BackupStore(const QString& storePath, const QString& target) {
    const QFileInfo targetInfo(target);
    const QFileInfo folder(targetInfo.absolutePath());
    const QFileInfo store(storePath);
    if (!store.isFile()) return {false, QStringLiteral("找不到记事库 %1").arg(storePath)};
    // An empty file is no store (the program would not open it either); its copy would hold nothing.
    if (store.size() == 0) return {false, QStringLiteral("记事库 %1 是空文件").arg(storePath)};
    if (!folder.isDir()) return {false, QStringLiteral("文件夹不存在：%1").arg(folder.filePath())};
    if (!folder.isWritable()) return {false, QStringLiteral("没有写入权限：%1").arg(folder.filePath())};
    if (targetInfo.exists() && targetInfo.absoluteFilePath() == store.absoluteFilePath())
        return {false, QStringLiteral("备份不能写在记事库本身上")};
    const QString copy = QDir(folder.filePath()).filePath(QStringLiteral(".%1.%2.part")
                                                              .arg(targetInfo.fileName(),
                                                                   QUuid::createUuid().toString(QUuid::Id128)));
    std::optional<QString> failure;
    if (const auto error = CopyInto(storePath, copy))
        failure = Reason(*error);
    else if (const auto bad = CheckCopy(copy))
        failure = bad;
    else if (!FlushToDisk(copy))
        failure = QStringLiteral("无法写入磁盘");
    std::error_code renamed;
    if (!failure) std::filesystem::rename(copy.toStdU16String(), targetInfo.absoluteFilePath().toStdU16String(), renamed);
    if (renamed) failure = QString::fromLocal8Bit(renamed.message().c_str());
    if (failure) {
        QFile::remove(copy);
        return {false, QStringLiteral("备份失败：%1").arg(*failure)};
    }
    return {true, targetInfo.absoluteFilePath()};
}

QString DefaultBackupPath(TDateTime today) {
    const CivilDate day = DecodeDate(today);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("UserData-%1%2%3.db")
                                     .arg(day.year, 4, 10, QLatin1Char('0'))
                                     .arg(day.month, 2, 10, QLatin1Char('0'))
                                     .arg(day.day, 2, 10, QLatin1Char('0')));
}

} // namespace quenda
