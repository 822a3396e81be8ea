// No note is lost: the real program, typed into through the desktop, killed with SIGKILL at random
// moments again and again, and after every restart the store is sound and holds every keystroke whose
// save the program had reported as stored. Then the same with a full disk, a read-only disk and a store
// held by another process: typing never crashes, nothing stored before is lost, and the close button says
// that the note could not be stored.
#include "ProgramDriver.h"
#include "StoreFixture.h"

#include "Clock.h"
#include "DayNote.h"
#include "RtfCodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>
#include <QThread>

#include <random>
#include <thread>

using namespace quenda;
using namespace quenda::test;

namespace {

constexpr int kKillsPerWorker = 100;
constexpr int kWorkers = 2; // one program per core
const QString kSeededKey = QStringLiteral("20200101");
const QString kSeededText = QStringLiteral("stored before 存好的记事");
const QString kSaveFailed = QStringLiteral("message 保存记事失败，请重试！");

QString TodayKey() {
    return DayKey(Clock::Now());
}

// What the store says: its integrity check and the plain text of one day's note (nothing: no row).
struct StoreState {
    QString integrity;
    std::optional<QString> note;
};

StoreState ReadStore(const QString& programFolder, const QString& key) {
    StoreState state;
    const QString name = QStringLiteral("check-") + programFolder;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // On a read-only disk SQLite cannot make the log's index beside the store: read it as unchanging.
        const bool readOnly = !QFileInfo(programFolder + QStringLiteral("/Data")).isWritable();
        db.setDatabaseName(QStringLiteral("file:") + programFolder + QStringLiteral("/Data/UserData.db") +
                           (readOnly ? QStringLiteral("?mode=ro&immutable=1") : QString()));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                state.integrity = query.value(0).toString();
            query.prepare(QStringLiteral("select data from UserCon where conIndex = ?"));
            query.addBindValue(key);
            if (query.exec() && query.next()) {
                QTextDocument document;
                readRtf(query.value(0).toByteArray(), document);
                state.note = document.toPlainText();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return state;
}

void SeedNote(const QString& programFolder) {
    QTextDocument document;
    document.setPlainText(kSeededText);
    const QString name = QStringLiteral("seed-") + programFolder;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(programFolder + QStringLiteral("/Data/UserData.db"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        query.prepare(QStringLiteral("insert into UserCon values (?, ?)"));
        query.addBindValue(kSeededKey);
        query.addBindValue(writeRtf(document));
        ASSERT_TRUE(query.exec());
    }
    QSqlDatabase::removeDatabase(name);
}

// A copy of this build's program folder with the window at the screen's origin.
QString CopyProgram(const QString& target) {
    EXPECT_TRUE(CopyFolder(QStringLiteral(QUENDA_APP_DIR), target));
    PlaceWindowAtOrigin(target);
    return target;
}

// The text typed in round `round`: letters and digits only, different every time.
QString Chunk(int round) {
    QString text;
    for (int i = 0; i < 24; ++i)
        text += QChar(u'a' + (round * 7 + i) % 26);
    return text + QString::number(round % 10);
}

struct WorkerResult {
    int kills = 0;
    int acknowledgedKeys = 0;
    int lostOrDamaged = 0;
    QStringList problems;
};

// Starts, types and kills the program `kills` times in `folder`, checking the store after each kill.
void KillRepeatedly(const QString& folder, const QString& display, unsigned seed, WorkerResult& result) {
    std::mt19937 random(seed);
    std::bernoulli_distribution duringStartUp(0.3);
    std::uniform_int_distribution<int> startUpMs(20, 400), typingMs(20, 350);
    QString stored = ReadStore(folder, TodayKey()).note.value_or(QString());
    for (int round = 0; round < kKillsPerWorker; ++round) {
        ProgramRun run(folder, display);
        if (!run.Start()) {
            result.problems << QStringLiteral("round %1: the program did not start").arg(round);
            return;
        }
        // A third of the kills hit the start (the store opening, the first load), the rest the typing.
        const QString chunk = Chunk(round);
        bool typing = false;
        if (duringStartUp(random)) {
            QThread::msleep(startUpMs(random));
        } else if (run.WaitFor(QStringLiteral("painted"), 10000)) {
            run.Xdotool({"mousemove", QString::number(kEditorX), QString::number(kEditorY), "click", "1",
                         "key", "ctrl+End", "type", "--delay", "4", chunk},
                        false);
            typing = true;
            QThread::msleep(typingMs(random));
        }
        run.Kill();
        ++result.kills;

        const int acknowledged = run.LastSavedLength();
        const StoreState after = ReadStore(folder, TodayKey());
        const QString now = after.note.value_or(QString());
        const QString possible = stored + (typing ? chunk : QString());
        const bool sound = after.integrity == QStringLiteral("ok") && now.startsWith(stored) &&
                           possible.startsWith(now) && now.size() >= acknowledged;
        if (!sound) {
            ++result.lostOrDamaged;
            result.problems << QStringLiteral(
                                   "round %1: integrity '%2', stored '%3', acknowledged %4 of '%5'")
                                   .arg(round)
                                   .arg(after.integrity, now)
                                   .arg(acknowledged)
                                   .arg(possible);
        }
        if (acknowledged > 0) result.acknowledgedKeys += acknowledged - static_cast<int>(stored.size());
        stored = now;
    }
}

class DurabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        if (!CanDriveDesktop()) GTEST_SKIP() << "Xvfb and xdotool are needed to type into the program";
    }
    QTemporaryDir m_root;
};

} // namespace

TEST_F(DurabilityTest, KillingTheProgramAtRandomMomentsLosesNoAcknowledgedKeystroke) {
    std::vector<std::unique_ptr<XServer>> displays;
    std::vector<QString> folders;
    for (int worker = 0; worker < kWorkers; ++worker) {
        displays.push_back(std::make_unique<XServer>());
        ASSERT_FALSE(displays.back()->Display().isEmpty()) << "Xvfb did not start";
        folders.push_back(CopyProgram(m_root.filePath(QStringLiteral("app%1").arg(worker))));
        SeedNote(folders.back());
    }
    std::vector<WorkerResult> results(kWorkers);
    std::vector<std::thread> workers;
    const unsigned seed = std::random_device{}();
    for (int worker = 0; worker < kWorkers; ++worker)
        workers.emplace_back(KillRepeatedly, folders[worker], displays[worker]->Display(), seed + worker,
                             std::ref(results[worker]));
    for (std::thread& worker : workers)
        worker.join();

    int kills = 0, acknowledged = 0;
    for (int worker = 0; worker < kWorkers; ++worker) {
        kills += results[worker].kills;
        acknowledged += results[worker].acknowledgedKeys;
        EXPECT_EQ(results[worker].lostOrDamaged, 0) << "seed " << seed + worker << ":\n"
                                                    << results[worker].problems.join('\n').toStdString();
        EXPECT_EQ(ReadStore(folders[worker], kSeededKey).note, kSeededText);
    }
    EXPECT_GE(kills, 200);
    EXPECT_GT(acknowledged, 0) << "no keystroke reached the store: the test typed nothing";
    RecordProperty("kills", kills);
    RecordProperty("acknowledged_keystrokes", acknowledged);
    std::printf("%d kills survived, %d acknowledged keystrokes checked\n", kills, acknowledged);
}

namespace {

// A program folder on a small disk of its own (tmpfs): the executable, the store with a seeded note and
// the window placement. Skips the test when the disk cannot be mounted.
class TroubledDiskTest : public DurabilityTest {
protected:
    void SetUp() override {
        DurabilityTest::SetUp();
        if (IsSkipped()) return;
        const qint64 program = QFileInfo(QStringLiteral(QUENDA_APP_DIR "/quenda-calendar")).size();
        m_disk =
            std::make_unique<ScratchMount>(QByteArray::number(program / 1024 + 2048).append('k').constData());
        if (!m_disk->Mounted()) GTEST_SKIP() << "a disk of the test's own (tmpfs) needs root";
        m_folder = m_disk->Path() + QStringLiteral("/app");
        ASSERT_TRUE(QDir().mkpath(m_folder + QStringLiteral("/Data")));
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(QUENDA_APP_DIR "/quenda-calendar"), m_folder + "/quenda-calendar"));
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(QUENDA_APP_DIR "/Data/UserData.db"), m_folder + "/Data/UserData.db"));
        PlaceWindowAtOrigin(m_folder);
        SeedNote(m_folder);
        ASSERT_FALSE(m_display.Display().isEmpty()) << "Xvfb did not start";
    }

    // Fills the disk to the last byte; Free() gives the space back.
    void Fill() {
        QFile filler(m_disk->Path() + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Append));
        const QByteArray block(64 * 1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        const QByteArray byte(1, 'x');
        while (filler.write(byte) == 1 && filler.flush()) {
        }
    }
    void Free() { QFile::remove(m_disk->Path() + QStringLiteral("/filler")); }

    // Starts the program and types into its note; every keystroke must be taken without a crash.
    void StartAndType(ProgramRun& run, const QString& text) {
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.WaitFor(QStringLiteral("painted"), 20000)) << run.Reports().join('\n').toStdString();
        run.TypeIntoNote(text);
        run.Poll();
        ASSERT_TRUE(run.Running()) << "typing ended the program";
    }

    // The close button cannot store the note: the user is told and the window stays.
    void ExpectCloseRefused(ProgramRun& run) {
        run.ClickClose();
        EXPECT_TRUE(run.WaitFor(kSaveFailed, 5000)) << run.Reports().join('\n').toStdString();
        EXPECT_TRUE(run.Running());
        run.DismissMessage();
    }

    XServer m_display;
    std::unique_ptr<ScratchMount> m_disk;
    QString m_folder;
};

} // namespace

TEST_F(TroubledDiskTest, AFullDiskLosesNothingAndTheNoteIsStoredOnceThereIsRoomAgain) {
    ProgramRun run(m_folder, m_display.Display());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitFor(QStringLiteral("painted"), 20000));
    Fill();
    run.TypeIntoNote(QStringLiteral("typed on a full disk"));
    ExpectCloseRefused(run);
    Free();
    run.ClickClose();
    EXPECT_TRUE(run.WaitForCleanExit(10000)) << run.Reports().join('\n').toStdString();
    const StoreState store = ReadStore(m_folder, TodayKey());
    EXPECT_EQ(store.integrity, "ok");
    EXPECT_EQ(store.note, QStringLiteral("typed on a full disk"));
    EXPECT_EQ(ReadStore(m_folder, kSeededKey).note, kSeededText);
}

TEST_F(TroubledDiskTest, AReadOnlyDiskShowsTheNotesAndTheCloseButtonSaysTheNoteWasNotStored) {
    ASSERT_TRUE(m_disk->RemountReadOnly());
    ProgramRun run(m_folder, m_display.Display());
    StartAndType(run, QStringLiteral("cannot be stored"));
    ExpectCloseRefused(run);
    run.Kill();
    EXPECT_EQ(ReadStore(m_folder, kSeededKey).note, kSeededText);
    EXPECT_EQ(ReadStore(m_folder, TodayKey()).note, std::nullopt);
}

TEST_F(DurabilityTest, AStoreHeldByAnotherProgramKeepsTypingAliveAndStoresOnceReleased) {
    XServer display;
    ASSERT_FALSE(display.Display().isEmpty()) << "Xvfb did not start";
    const QString folder = CopyProgram(m_root.filePath(QStringLiteral("app")));
    SeedNote(folder);
    ProgramRun run(folder, display.Display());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitFor(QStringLiteral("painted"), 20000));
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        other.setDatabaseName(folder + QStringLiteral("/Data/UserData.db"));
        ASSERT_TRUE(other.open());
        QSqlQuery hold(other);
        ASSERT_TRUE(hold.exec(QStringLiteral("begin exclusive")));
        run.TypeIntoNote(QStringLiteral("held"));
        run.Poll();
        EXPECT_TRUE(run.Running());
        EXPECT_EQ(run.LastSavedLength(), -1); // nothing could be stored while the store was held
        run.ClickClose();
        EXPECT_TRUE(run.WaitFor(kSaveFailed, 5000)) << run.Reports().join('\n').toStdString();
        run.DismissMessage();
        hold.exec(QStringLiteral("rollback"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    run.ClickClose();
    EXPECT_TRUE(run.WaitForCleanExit(10000)) << run.Reports().join('\n').toStdString();
    EXPECT_EQ(ReadStore(folder, TodayKey()).note, QStringLiteral("held"));
    EXPECT_EQ(ReadStore(folder, kSeededKey).note, kSeededText);
}
