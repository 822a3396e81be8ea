#include "SyncMachine.h"

#include "DayNote.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"

#include <QDir>
#include <QEventLoop>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace quenda::test {

namespace {

void MakeStore(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make-store"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("create table UserCon (conIndex TEXT PRIMARY KEY NOT NULL, data BLOB)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make-store"));
}

} // namespace

SyncMachine::SyncMachine(const QUrl& collection, bool useSyncCollection, const QString& user) {
    QDir(m_folder.path()).mkpath(QStringLiteral("Data"));
    MakeStore(m_folder.filePath(QStringLiteral("Data/UserData.db")));
    SetDataFolder(m_folder.path());
    EXPECT_TRUE(m_dm.OpenStore()) << m_dm.LastError().toStdString();
    SetDataFolder({});
    m_engine = std::make_unique<SyncEngine>(m_dm, collection, user, QStringLiteral("secret"));
    if (!useSyncCollection) m_engine->SetUseSyncCollection(false);
}

void SyncMachine::Write(const QString& key, const QString& text) {
    QTextDocument document;
    document.setPlainText(text);
    ASSERT_TRUE(m_dm.WriteNote(key, writeRtf(document), text));
}

QByteArray SyncMachine::Bytes(const QString& key) {
    return m_dm.ReadNote(key).value_or(StoredNote{}).data;
}

QString SyncMachine::Text(const QString& key) {
    const std::optional<StoredNote> note = m_dm.ReadNote(key);
    return note && note->found ? NotePlainText(note->data) : QStringLiteral("(none)");
}

SyncOutcome SyncMachine::Sync(bool pull) {
    SyncOutcome outcome;
    QEventLoop loop;
    auto done = QObject::connect(m_engine.get(), &SyncEngine::finished, &loop, [&](const SyncOutcome& result) {
        outcome = result;
        loop.quit();
    });
    m_engine->Run(pull);
    loop.exec();
    QObject::disconnect(done);
    return outcome;
}

} // namespace quenda::test
