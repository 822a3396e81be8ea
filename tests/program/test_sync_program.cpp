// Two copies of the program folder syncing through a real Radicale: `quenda-calendar --sync` pushes one
// copy's note without a window, and asked on the folder of a running program it has that program pull
// instead, so two writers never race.
#include "../sync/CalendarServer.h"
#include "ProgramDriver.h"
#include "StoreFixture.h"

#include "Clock.h"
#include "LineListFile.h"
#include "DayNote.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QTextDocument>
#include <QThread>

using namespace quenda;
using namespace quenda::test;

namespace {

// The note of `key` in the store of `folder`, as plain text ("(none)": no row).
QString NoteIn(const QString& folder, const QString& key, const QString& write = {}) {
    SetDataFolder(folder);
    TDM dm;
    const bool opened = dm.OpenStore();
    SetDataFolder({});
    if (!opened) return QStringLiteral("(no store)");
    if (!write.isEmpty()) {
        QTextDocument document;
        document.setPlainText(write);
        dm.WriteNote(key, writeRtf(document), write);
    }
    const std::optional<StoredNote> note = dm.ReadNote(key);
    return note && note->found ? NotePlainText(note->data) : QStringLiteral("(none)");
}

int RunSync(const QString& folder) {
    QProcess sync;
    sync.setProcessChannelMode(QProcess::ForwardedChannels);
    sync.start(folder + QStringLiteral("/quenda-calendar"), {QStringLiteral("--sync")});
    return sync.waitForFinished(60000) && sync.exitStatus() == QProcess::NormalExit ? sync.exitCode() : -1;
}

} // namespace

TEST(SyncProgram, ACommandSyncsOneCopyAndAsksTheRunningOtherToPull) {
    EnsureApplication();
    Radicale server;
    if (!server.Running()) GTEST_SKIP() << server.Problem().toStdString();
    XServer display;
    if (display.Display().isEmpty()) GTEST_SKIP() << "Xvfb is not installed";
    QTemporaryDir root;
    const QString a = root.filePath("a"), b = root.filePath("b");
    for (const QString& folder : {a, b})
        ASSERT_TRUE(CopyFolder(QStringLiteral(QUENDA_APP_DIR), folder));
    EXPECT_EQ(RunSync(a), 2) << "sync is not set up yet";
    for (const QString& folder : {a, b})
        WriteLineList(folder + "/Data/Sync.ini", {"url=" + server.Collection().toString(), "user=tester", "enabled=true"});
    PlaceWindowAtOrigin(b);
    ProgramRun running(b, display.Display());
    ASSERT_TRUE(running.Start());
    ASSERT_TRUE(running.WaitFor(QStringLiteral("painted"), 30000));

    const QString today = DayKey(Clock::Now());
    ASSERT_EQ(NoteIn(a, today, QStringLiteral("从 A 来的记事")), QStringLiteral("从 A 来的记事"));
    EXPECT_EQ(RunSync(a), 0);
    EXPECT_EQ(RunSync(b), 0);
    EXPECT_TRUE(running.WaitFor(QStringLiteral("sync requested"), 1000)) << "the running program did it";
    EXPECT_TRUE(running.Running());
    EXPECT_EQ(NoteIn(b, today), QStringLiteral("从 A 来的记事"));
}

// A tray host (tint2 as the package test runs it) on `display`; false when there is none.
bool StartTrayHost(QProcess& tint2, const QString& display) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    tint2.setProcessEnvironment(environment);
    tint2.start(QStringLiteral("tint2"), {QStringLiteral("-c"), QStringLiteral(QUENDA_TRAY_HOST_SETTINGS)});
    if (!tint2.waitForStarted(5000)) return false;
    for (int tries = 0; tries < 100; ++tries) { // its panel is there once it has taken the tray
        QProcess search;
        search.setProcessEnvironment(environment);
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("tint2")});
        if (search.waitForFinished(5000) && !search.readAllStandardOutput().trimmed().isEmpty()) return true;
        QThread::msleep(100);
    }
    return false;
}

// Started at login into the tray the window is never shown nor painted: sync must start all the same and
// pull what the other copy pushed.
TEST(SyncProgram, AProgramStartedIntoTheTrayPullsAtOnce) {
    EnsureApplication();
    Radicale server;
    if (!server.Running()) GTEST_SKIP() << server.Problem().toStdString();
    XServer display;
    if (display.Display().isEmpty() || !CanRunWindowManager()) GTEST_SKIP() << "Xvfb and openbox are needed";
    WindowManager manager(display.Display()); // tint2 waits for a window manager before it shows its panel
    ASSERT_TRUE(manager.Running());
    QProcess tint2;
    ASSERT_TRUE(StartTrayHost(tint2, display.Display())) << "tint2 did not start";
    QTemporaryDir root;
    const QString a = root.filePath("a"), b = root.filePath("b");
    for (const QString& folder : {a, b}) {
        ASSERT_TRUE(CopyFolder(QStringLiteral(QUENDA_APP_DIR), folder));
        WriteLineList(folder + "/Data/Sync.ini", {"url=" + server.Collection().toString(), "user=tester", "enabled=true"});
    }
    const QString today = DayKey(Clock::Now());
    ASSERT_EQ(NoteIn(a, today, QStringLiteral("登录前写的记事")), QStringLiteral("登录前写的记事"));
    ASSERT_EQ(RunSync(a), 0);

    ProgramRun running(b, display.Display());
    ASSERT_TRUE(running.Start({QStringLiteral("--minimized")}));
    EXPECT_TRUE(Eventually([&] { return NoteIn(b, today) == QStringLiteral("登录前写的记事"); }, 30000))
        << NoteIn(b, today).toStdString();
    EXPECT_FALSE(running.WaitFor(QStringLiteral("painted"), 1000)) << "the window stayed in the tray";
    tint2.kill();
    tint2.waitForFinished(5000);
}
