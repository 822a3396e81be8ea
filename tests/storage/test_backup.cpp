// The backup: a sound copy taken while saves go on, and a full disk, a read-only disk or a missing folder
// reported in words, with nothing left behind and the store untouched.
#include "StoreFixture.h"

#include "DayNote.h"
#include "StoreBackup.h"
#include "uDM.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>

#include <atomic>
#include <thread>

using namespace quenda;
using namespace quenda::test;

namespace {

class BackupTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeStore();
        // About 300 KB of notes: more than the small disk below holds.
        for (int day = 1; day <= 28; ++day)
            Exec(QStringLiteral("insert into UserCon values ('201302%1', randomblob(12000))").arg(day, 2, 10, QChar('0')));
        ASSERT_TRUE(m_dm.DataModuleCreate());
    }
    // The copy's integrity and its number of notes, through a connection of the test's own.
    static std::pair<QString, int> Inspect(const QString& path) {
        std::pair<QString, int> found;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
            db.setDatabaseName(path);
            EXPECT_TRUE(db.open());
            QSqlQuery query(db);
            if (query.exec("PRAGMA integrity_check") && query.next()) found.first = query.value(0).toString();
            if (query.exec("select count(*) from UserCon") && query.next()) found.second = query.value(0).toInt();
        }
        QSqlDatabase::removeDatabase("inspect");
        return found;
    }
    TDM m_dm;
};

} // namespace

TEST_F(BackupTest, CopiesASoundStoreWhileSavesGoOn) {
    std::atomic<bool> done = false;
    BackupOutcome outcome;
    const QString target = Path("UserData-20130102.db");
    std::thread backup([&] {
        outcome = BackupStore(TDM::StorePath(), target);
        done = true;
    });
    QTextDocument editor;
    int saves = 0;
    // Saves go on during the copy, and each one is stored: the copy never holds the write lock.
    for (; !done || saves < 20; ++saves) {
        editor.setPlainText(QString("第 %1 次").arg(saves));
        ASSERT_EQ(SaveDayNote(m_dm, EncodeDate(2013, 1, 2), editor), SaveOutcome::Stored);
    }
    backup.join();
    ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, target);
    const auto [integrity, notes] = Inspect(target);
    EXPECT_EQ(integrity, "ok");
    EXPECT_GE(notes, 28);
    EXPECT_EQ(Rows().size(), 29u);
    EXPECT_EQ(QDir(m_folder.path()).entryList({"*.part"}, QDir::Hidden | QDir::Files), QStringList{});
}

TEST_F(BackupTest, ReportsAFullDiskNoPermissionAndAMissingFolderLeavingNothingBehind) {
    ScratchMount full("64k"), readOnly;
    if (!full.Mounted() || !readOnly.Mounted()) GTEST_SKIP() << "mounting a small disk needs root";
    ASSERT_TRUE(readOnly.RemountReadOnly());
    const auto rowsBefore = Rows();
    const struct {
        QString folder;
        const char* reason;
    } cases[] = {{full.Path(), "磁盘空间不足"}, {readOnly.Path(), "没有写入权限"}, {Path("missing"), "文件夹不存在"}};
    for (const auto& c : cases) {
        const BackupOutcome outcome = BackupStore(TDM::StorePath(), c.folder + "/copy.db");
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.message.contains(QString::fromUtf8(c.reason))) << outcome.message.toStdString();
        EXPECT_EQ(QDir(c.folder).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
    EXPECT_EQ(Rows(), rowsBefore);
}
