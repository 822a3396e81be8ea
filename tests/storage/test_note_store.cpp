// The note store: opening it, the statements, loading with the plain-text fallback, storing, and what
// happens when the store is missing, broken, read-only or held by another process.
#include "StoreFixture.h"

#include "DateTimeValue.h"
#include "DayNote.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>

using namespace quenda;
using namespace quenda::test;

namespace {

const TDateTime kJan2 = EncodeDate(2013, 1, 2) + 0.75; // 18:00 on Wednesday 2 January 2013
const QString kOpenFailed = QStringLiteral("配置文件加载失败，请重试！");
const QString kLoadFailed = QStringLiteral("加载记事内容失败！");

class NoteStoreTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        MakeStore();
    }
    QTextDocument m_editor;
};

} // namespace

TEST(DayStatement, SendsTheStatementTextsWithTheQuotedKey) {
    EXPECT_EQ(DayStatement(kLoadStatementHead, "20130102"),
              " select * from UserCon  where conIndex = '20130102'");
    EXPECT_EQ(DayStatement(kSaveStatementHead, "20130102"),
              " select * from  UserCon  where conIndex = '20130102'");
    EXPECT_EQ(DayStatement(kLoadStatementHead, "o'k"), " select * from UserCon  where conIndex = 'o''k'");
    EXPECT_EQ(DayKey(kJan2), "20130102");
    EXPECT_EQ(DayKey(EncodeDate(1, 3, 9)), "00010309");
}

TEST_F(NoteStoreTest, FirstSaveInsertsSecondUpdatesAndLoadGivesItBack) {
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    m_editor.setPlainText(QStringLiteral("第一版"));
    EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Stored);
    m_editor.setPlainText(QStringLiteral("第二版 √"));
    EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Stored);
    EXPECT_TRUE(dm.CanSave);

    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.begin()->first, "20130102");
    EXPECT_TRUE(isRtf(rows.begin()->second));

    QTextDocument loaded;
    EXPECT_TRUE(LoadDayNote(dm, kJan2, loaded));
    EXPECT_EQ(loaded.toPlainText(), QStringLiteral("第二版 √"));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(NoteStoreTest, LoadsEachKindOfStoredValue) {
    struct Case {
        const char* name;
        std::optional<QByteArray> stored; // nothing: no row
        std::optional<QString> text;      // nothing: whatever the plain-text reading makes of it
    };
    const Case cases[] = {
        {"no row", std::nullopt, ""},
        {"RTF", RtfOf(QStringLiteral("记事")), QStringLiteral("记事")},
        {"plain GBK text", QByteArray("\xBC\xC7\xCA\xC2 plain"), QStringLiteral("记事 plain")},
        {"empty value", QByteArray(""), ""},
        {"garbage bytes", QByteArray("\x00\xFF{\\rtf1\x01", 8), std::nullopt},
    };
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    for (const Case& c : cases) {
        Exec(QStringLiteral("delete from UserCon"));
        if (c.stored) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
            db.setDatabaseName(Path(QStringLiteral("Data/UserData.db")));
            ASSERT_TRUE(db.open());
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral("insert into UserCon values ('20130102', ?)"));
            insert.addBindValue(*c.stored);
            ASSERT_TRUE(insert.exec());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("seed"));
        m_editor.setPlainText(QStringLiteral("previous day"));
        EXPECT_TRUE(LoadDayNote(dm, kJan2, m_editor)) << c.name;
        if (c.text) {
            EXPECT_EQ(m_editor.toPlainText(), *c.text) << c.name;
        }
        EXPECT_FALSE(m_editor.isUndoAvailable()) << c.name;
        EXPECT_TRUE(dm.CanSave) << c.name;
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(NoteStoreTest, AFailedLoadKeepsTheEditorAndStopsEverySaveUntilALoadSucceeds) {
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    m_editor.setPlainText(QStringLiteral("note of the first of January"));
    Exec(QStringLiteral("alter table UserCon rename to Other"));

    EXPECT_FALSE(LoadDayNote(dm, kJan2, m_editor));
    EXPECT_EQ(m_messages, QStringList{kLoadFailed});
    EXPECT_EQ(m_editor.toPlainText(), "note of the first of January");
    EXPECT_FALSE(dm.CanSave);
    EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Skipped);

    Exec(QStringLiteral("alter table Other rename to UserCon"));
    EXPECT_TRUE(Rows().empty()); // nothing was stored under the second of January
    EXPECT_TRUE(LoadDayNote(dm, kJan2, m_editor));
    EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Stored);
}

TEST_F(NoteStoreTest, OpeningFailsWithTheMessageForEveryStoreThatIsNoStore) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
    };
    const QString store = Path(QStringLiteral("Data/UserData.db"));
    const Case cases[] = {
        {"missing", [&] { QFile::remove(store); }},
        {"random bytes", [&] { WriteFile("Data/UserData.db", QByteArray(4096, '\x5A')); }},
        {"text file", [&] { WriteFile("Data/UserData.db", "Standard Jet DB, or so it says\r\n"); }},
        {"a folder", [&] { QFile::remove(store), QDir().mkpath(store); }},
    };
    for (const Case& c : cases) {
        c.prepare();
        m_messages.clear();
        TDM dm;
        EXPECT_FALSE(dm.DataModuleCreate()) << c.name;
        EXPECT_EQ(m_messages, QStringList{kOpenFailed}) << c.name;
        QDir(store).removeRecursively();
    }
    EXPECT_FALSE(QFile::exists(store)); // never created
}

TEST_F(NoteStoreTest, KeepsColumnsItDoesNotKnowAndFindsDataByName) {
    Exec(QStringLiteral("drop table UserCon"));
    Exec(QStringLiteral(
        "create table UserCon (extra TEXT DEFAULT 'x', conIndex TEXT PRIMARY KEY, data BLOB)"));
    Exec(QStringLiteral("insert into UserCon (extra, conIndex, data) values ('kept', '20130102', 'old')"));
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    EXPECT_TRUE(LoadDayNote(dm, kJan2, m_editor));
    EXPECT_EQ(m_editor.toPlainText(), "old");
    m_editor.setPlainText("new");
    EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Stored);
    EXPECT_EQ(SaveDayNote(dm, kJan2 + 1, m_editor), SaveOutcome::Stored);
    QTextDocument loaded;
    EXPECT_TRUE(LoadDayNote(dm, kJan2, loaded));
    EXPECT_EQ(loaded.toPlainText(), "new");
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(NoteStoreTest, AStoreHeldByAnotherProcessFailsTheSaveAndTheNextSaveSucceeds) {
    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate());
    m_editor.setPlainText("first");
    ASSERT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Stored);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(Path(QStringLiteral("Data/UserData.db")));
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec(QStringLiteral("begin exclusive")));
        m_editor.setPlainText("second");
        EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Failed);
        EXPECT_TRUE(dm.CanSave); // the next keystroke tries again
        lock.exec(QStringLiteral("commit"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    EXPECT_EQ(SaveDayNote(dm, kJan2, m_editor), SaveOutcome::Stored);
    QTextDocument loaded;
    EXPECT_TRUE(LoadDayNote(dm, kJan2, loaded));
    EXPECT_EQ(loaded.toPlainText(), "second");
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(NoteStoreTest, AStoreOnAReadOnlyDiskLoadsButKeepsItsNotesOnSave) {
    {
        TDM writer;
        ASSERT_TRUE(writer.DataModuleCreate());
        m_editor.setPlainText("kept");
        ASSERT_EQ(SaveDayNote(writer, kJan2, m_editor), SaveOutcome::Stored);
    }
    ScratchMount disk;
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a read-only disk needs root";
    ASSERT_NO_FATAL_FAILURE(MoveToReadOnlyDisk(disk));

    TDM dm;
    ASSERT_TRUE(dm.DataModuleCreate()) << dm.LastError().toStdString();
    QTextDocument loaded;
    EXPECT_TRUE(LoadDayNote(dm, kJan2, loaded));
    EXPECT_EQ(loaded.toPlainText(), "kept");
    loaded.setPlainText("not stored");
    EXPECT_EQ(SaveDayNote(dm, kJan2, loaded), SaveOutcome::Failed);
    EXPECT_TRUE(LoadDayNote(dm, kJan2, loaded));
    EXPECT_EQ(loaded.toPlainText(), "kept");
    EXPECT_TRUE(m_messages.isEmpty());
}
