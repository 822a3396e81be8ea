// The batch commands of the real program, as a script runs them: without a display, beside the program
// running on the same folder, with exit status 0 on success and the reason on standard error otherwise.
#include "ProgramDriver.h"
#include "StoreFixture.h"

#include "Clock.h"
#include "DayNote.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace quenda;
using namespace quenda::test;

namespace {

struct Batch {
    int status = -1;
    QString out, err;
};

Batch RunBatch(const QString& folder, const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY"); // no display at all: the commands must not need one
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    program.setProcessEnvironment(environment);
    program.start(folder + "/quenda-calendar", arguments);
    if (!program.waitForFinished(60000)) return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

bool HasNote(const QString& folder, const QString& key) {
    const QString name = "batch-check";
    bool found = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(folder + "/Data/UserData.db");
        QSqlQuery query(db);
        found = db.open() && query.exec("select 1 from UserCon where conIndex = '" + key + "'") && query.next();
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

} // namespace

TEST(BatchCommands, BackUpExportAndImportBesideTheRunningProgramWithoutADisplay) {
    EnsureApplication();
    if (!CanDriveDesktop()) GTEST_SKIP() << "needs Xvfb and xdotool";
    QTemporaryDir scratch;
    const QString folder = scratch.path() + "/app";
    ASSERT_TRUE(CopyFolder(QUENDA_APP_DIR, folder));
    PlaceWindowAtOrigin(folder);
    XServer display;
    ProgramRun run(folder, display.Display());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitFor("painted", 20000));
    run.TypeIntoNote("typed");
    ASSERT_TRUE(run.WaitFor("saved", 10000));

    const Batch backup = RunBatch(folder, {"--backup", scratch.filePath("copy.db")});
    EXPECT_EQ(backup.status, 0) << backup.err.toStdString();
    EXPECT_TRUE(QFile::exists(scratch.filePath("copy.db")));
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    const Batch exported = RunBatch(folder, {"--export", scratch.filePath("today.ics"), "--from", today, "--to", today});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith("已导出 1 天的记事")) << exported.out.toStdString();

    QFile other(scratch.filePath("other.ics"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\nBEGIN:VJOURNAL\r\nUID:a\r\n"
                "DTSTART;VALUE=DATE:20200101\r\nDESCRIPTION:元旦\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n");
    other.close();
    const Batch preview = RunBatch(folder, {"--import", other.fileName()});
    EXPECT_EQ(preview.status, 3);
    EXPECT_TRUE(preview.out.startsWith("新建 1 天的记事")) << preview.out.toStdString();
    EXPECT_TRUE(preview.err.contains("--yes"));
    EXPECT_FALSE(HasNote(folder, "20200101"));
    const Batch imported = RunBatch(folder, {"--import", other.fileName(), "--yes"});
    EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_TRUE(HasNote(folder, "20200101"));

    const Batch bad = RunBatch(folder, {"--import", folder + "/Data/FormSize.ini", "--yes"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains("不是 iCalendar")) << bad.err.toStdString();
    const Batch help = RunBatch(folder, {"--help"});
    for (const char* option : {"--backup", "--export", "--from", "--to", "--import", "--yes"})
        EXPECT_TRUE(help.out.contains(option)) << option;
    EXPECT_TRUE(run.Running()) << "the batch commands disturbed the running program";
}

// Without a store, or with an empty file in its place, there is nothing to copy or write out: the command
// fails and says why.
TEST(BatchCommands, AFolderWithoutAStoreFailsWithTheReason) {
    QTemporaryDir root;
    const QString folder = root.filePath("app");
    ASSERT_TRUE(CopyFolder(QStringLiteral(QUENDA_APP_DIR), folder));
    const struct {
        bool emptyFile;
        QStringList command;
        const char* reason;
    } cases[] = {
        {false, {"--backup", root.filePath("copy.db")}, "找不到记事库"},
        {true, {"--backup", root.filePath("copy.db")}, "是空文件"},
        {false, {"--export", root.filePath("notes.ics")}, "文件不存在或是空的"},
        {true, {"--export", root.filePath("notes.ics")}, "文件不存在或是空的"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.first().toStdString() + (c.emptyFile ? " empty file" : " no file"));
        QFile store(folder + "/Data/UserData.db");
        store.remove();
        if (c.emptyFile) ASSERT_TRUE(store.open(QIODevice::WriteOnly));
        const Batch run = RunBatch(folder, c.command);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(c.command.last())) << "nothing written";
    }
}
