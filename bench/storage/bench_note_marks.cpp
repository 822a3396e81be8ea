// Which days of a month have a note with text, as the calendar asks on every month change: one indexed
// query of the store's plain-text copy (TDM::KeysWithText), beside reading and decoding the RTF of each day
// of the month in the same run, what the marks would cost without the copy. Ten years of notes, two days
// in three with one of about 2 KB.
#include "DayNote.h"
#include "ProgramFolder.h"
#include "RtfCodec.h"
#include "uDM.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QDate kFirstDay(2010, 1, 1);
constexpr int kMonths = 120;

QString Key(QDate day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

class Store {
public:
    Store() {
        QDir(m_folder.path()).mkpath(QStringLiteral("Data"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
            db.setDatabaseName(m_folder.filePath(QStringLiteral("Data/UserData.db")));
            db.open();
            QSqlQuery(QStringLiteral("create table UserCon (conIndex TEXT PRIMARY KEY NOT NULL, data BLOB)"),
                      db);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("make"));
        quenda::SetProgramFolderForTesting(m_folder.path());
        m_dm = std::make_unique<quenda::TDM>();
        m_ok = m_dm->DataModuleCreate();
        QTextDocument note;
        note.setPlainText(QString::fromUtf8("今天 √ 交电费，Meeting at 10:00 × 去银行。\n").repeated(30));
        const QByteArray rtf = quenda::writeRtf(note);
        for (QDate day = kFirstDay; m_ok && day < kFirstDay.addMonths(kMonths); day = day.addDays(1))
            if (day.dayOfYear() % 3 != 0) m_ok = m_dm->WriteNote(Key(day), rtf, note.toPlainText());
    }
    ~Store() { quenda::SetProgramFolderForTesting({}); }
    bool ok() const { return m_ok; }
    quenda::TDM& dm() { return *m_dm; }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<quenda::TDM> m_dm;
    bool m_ok = false;
};

Store& SharedStore() {
    static Store store;
    return store;
}

void NoteDaysOfMonth(benchmark::State& state) {
    Store& store = SharedStore();
    int month = 0;
    for (auto _ : state) {
        const QDate first = kFirstDay.addMonths(month++ % kMonths);
        const auto keys = store.dm().KeysWithText(Key(first), Key(first.addDays(first.daysInMonth() - 1)));
        if (!store.ok() || !keys || keys->isEmpty()) state.SkipWithError("no notes found");
    }
}
BENCHMARK(NoteDaysOfMonth)->Unit(benchmark::kMicrosecond);

void NoteDaysOfMonthByDecoding(benchmark::State& state) {
    Store& store = SharedStore();
    int month = 0;
    for (auto _ : state) {
        const QDate first = kFirstDay.addMonths(month++ % kMonths);
        int found = 0;
        for (QDate day = first; day.month() == first.month(); day = day.addDays(1)) {
            const auto note = store.dm().ReadNote(Key(day));
            found += note && note->found && quenda::HasVisibleText(quenda::NotePlainText(note->data));
        }
        if (!store.ok() || found == 0) state.SkipWithError("no notes found");
    }
}
BENCHMARK(NoteDaysOfMonthByDecoding)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
