// A keystroke's save: the whole 20 KB note written as RTF and stored in one transaction, as the editor's
// change notification does on every key, with the store's synchronous=NORMAL beside the same save with
// synchronous=FULL in the same run, and beside the same save in a store whose search index was taken away
// (what the index costs a keystroke). Target: p99 under 5 ms with the setting the program uses (NORMAL),
// the index included.
#include "DayNote.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr qsizetype kNoteBytes = 20 * 1024;
const quenda::TDateTime kDay = quenda::EncodeDate(2013, 1, 2);

void MakeStore(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(QStringLiteral("create table UserCon (conIndex TEXT PRIMARY KEY NOT NULL, data BLOB)"), db);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
}

// A diary note with Chinese and English, marks, bold and colour, about 20 KB as RTF.
void FillNote(QTextDocument& document) {
    QTextCursor cursor(&document);
    for (int run = 0; quenda::writeRtf(document).size() < kNoteBytes; ++run) {
        QTextCharFormat format;
        if (run % 3 == 0) format.setFontWeight(QFont::Bold);
        if (run % 5 == 0) format.setForeground(QColor(200, 0, 0));
        cursor.insertText(QString::fromUtf8("今天 √ 交电费，Meeting at 10:00 × 去银行。"), format);
        if (run % 6 == 5) cursor.insertBlock();
    }
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

// The search index's triggers dropped: saves then leave the index alone.
void DropSearchIndex(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
        db.setDatabaseName(path);
        db.open();
        for (const char* trigger : {"NoteSearchAfterInsert", "NoteSearchAfterDelete", "NoteSearchAfterUpdate"})
            QSqlQuery(QStringLiteral("drop trigger %1").arg(QLatin1String(trigger)), db);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("drop"));
}

void KeystrokeSave(benchmark::State& state, const char* synchronous, bool withIndex = true) {
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    MakeStore(folder.filePath(QStringLiteral("Data/UserData.db")));
    quenda::SetProgramFolderForTesting(folder.path());
    quenda::TDM dm;
    if (!dm.DataModuleCreate() || !dm.SetSynchronous(QString::fromLatin1(synchronous)) || !dm.HasSearchIndex()) {
        state.SkipWithError("no store with its search index");
        return;
    }
    if (!withIndex) DropSearchIndex(folder.filePath(QStringLiteral("Data/UserData.db")));
    QTextDocument note;
    FillNote(note);
    QTextCursor typing(&note);
    typing.movePosition(QTextCursor::End);
    std::vector<double> milliseconds;
    for (auto _ : state) {
        typing.insertText(QStringLiteral("字"));
        const auto start = std::chrono::steady_clock::now();
        const bool stored = quenda::SaveDayNote(dm, kDay, note) == quenda::SaveOutcome::Stored;
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!stored) state.SkipWithError("save failed");
    }
    state.counters["p50_ms"] = Percentile(milliseconds, 0.50);
    state.counters["p99_ms"] = Percentile(milliseconds, 0.99);
    state.counters["rtf_KB"] = quenda::writeRtf(note).size() / 1024.0;
    quenda::SetProgramFolderForTesting({});
}

} // namespace

BENCHMARK_CAPTURE(KeystrokeSave, synchronous_NORMAL_chosen, "NORMAL")
    ->Iterations(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeystrokeSave, synchronous_FULL_peer, "FULL")
    ->Iterations(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeystrokeSave, synchronous_NORMAL_without_search_index_peer, "NORMAL", false)
    ->Iterations(1000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
