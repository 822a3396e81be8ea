#include "StoreFixture.h"

#include "AppLook.h"
#include "Dialogs.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextDocument>

#include <memory>

#include <sys/mount.h>

namespace quenda::test {

namespace {

// Runs `work` on a connection of its own to the store and closes it again.
template <typename Work> void WithStore(const QString& path, Work work) {
    const QString name = QStringLiteral("test-store");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        work(db);
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

ScratchMount::ScratchMount(const char* size) {
    const QByteArray options = QByteArray("size=") + size;
    m_mounted = m_dir.isValid() && ::mount("tmpfs", m_dir.path().toLocal8Bit().constData(), "tmpfs", 0,
                                           options.constData()) == 0;
}

ScratchMount::~ScratchMount() {
    if (m_mounted) ::umount2(m_dir.path().toLocal8Bit().constData(), MNT_DETACH);
}

bool ScratchMount::RemountReadOnly() {
    return m_mounted && ::mount("tmpfs", m_dir.path().toLocal8Bit().constData(), "tmpfs",
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

QByteArray RtfOf(const QString& text) {
    QTextDocument document;
    document.setPlainText(text);
    return writeRtf(document);
}

bool CopyFolder(const QString& from, const QString& to) {
    QDir source(from);
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        const bool ok =
            entry.isDir() ? CopyFolder(entry.filePath(), target) : QFile::copy(entry.filePath(), target);
        if (!ok) return false;
    }
    return true;
}

void ProgramFolderTest::SetUp() {
    EnsureApplication();
    ASSERT_TRUE(m_folder.isValid());
    ASSERT_TRUE(QDir(m_folder.path()).mkpath(QStringLiteral("Data")));
    SetProgramFolderForTesting(m_folder.path());
    DialogSeamsForTesting().showMessage = [this](const QString& text) { m_messages.append(text); };
}

void ProgramFolderTest::TearDown() {
    DialogSeamsForTesting() = {};
    SetProgramFolderForTesting({});
}

QString ProgramFolderTest::Path(const QString& relative) const {
    return m_folder.filePath(relative);
}

void ProgramFolderTest::MakeStore(const QString& extraColumns) {
    WithStore(Path(QStringLiteral("Data/UserData.db")), [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(
            QStringLiteral("create table UserCon (conIndex TEXT PRIMARY KEY NOT NULL, data BLOB%1)")
                .arg(extraColumns)));
    });
}

void ProgramFolderTest::WriteFile(const QString& relative, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(Path(relative)).path());
    QFile file(Path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray ProgramFolderTest::ReadFile(const QString& relative) const {
    QFile file(Path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::map<QString, QByteArray> ProgramFolderTest::Rows() const {
    std::map<QString, QByteArray> rows;
    WithStore(Path(QStringLiteral("Data/UserData.db")), [&](QSqlDatabase& db) {
        QSqlQuery query(QStringLiteral("select conIndex, data from UserCon"), db);
        while (query.next())
            rows[query.value(0).toString()] = query.value(1).toByteArray();
    });
    return rows;
}

void ProgramFolderTest::Exec(const QString& statement) const {
    WithStore(Path(QStringLiteral("Data/UserData.db")), [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
    });
}

void ProgramFolderTest::MoveToReadOnlyDisk(ScratchMount& disk) {
    ASSERT_TRUE(CopyFolder(m_folder.path(), disk.Path() + "/app"));
    ASSERT_TRUE(disk.RemountReadOnly());
    SetProgramFolderForTesting(disk.Path() + "/app");
}

} // namespace quenda::test
