// From process start to the first painted main window, beside a bare Qt window with one line of Chinese
// started the same way in the same run (what setting up fonts costs any window that shows Chinese text),
// and a bare window with none; the program's resident memory at that moment. Targets: at most 1.5 times
// the window with one Chinese line; under 80 MB resident. Each subject is started once before the timed
// starts: the program's first start on a new folder fills the store's plain-text copy and search index
// once, so it is reported on its own (first_start_ms) and the timed starts are the steady state.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Starts `program`, waits for its "painted" line; the time it took, and its resident memory in MB then.
struct Start {
    double milliseconds = -1;
    double residentMB = 0;
};

double ResidentMB(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

Start StartOnce(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUENDA_TEST_REPORT"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    Start start;
    while (process.waitForReadyRead(10000)) {
        if (!process.readAllStandardOutput().contains("painted")) continue;
        start.milliseconds = timer.nsecsElapsed() / 1e6;
        start.residentMB = ResidentMB(process.processId());
        break;
    }
    process.kill();
    process.waitForFinished();
    return start;
}

enum class Subject { BareWindow, BareWindowWithChinese, Program };

void Startup(benchmark::State& state, Subject subject) {
    QTemporaryDir copy;
    QString program = QStringLiteral(QUENDA_BARE_WINDOW);
    QStringList arguments;
    if (subject == Subject::BareWindowWithChinese) arguments << QStringLiteral("label");
    if (subject == Subject::Program) {
        // A fresh copy of the program folder each run, as a user would unpack it.
        QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-r"), QStringLiteral(QUENDA_APP_DIR), copy.path()});
        program = copy.path() + QStringLiteral("/app/quenda-calendar");
    }
    const Start first = StartOnce(program, arguments);
    if (first.milliseconds < 0) {
        state.SkipWithError("the window was not painted");
        return;
    }
    state.counters["first_start_ms"] = first.milliseconds;
    double resident = 0;
    for (auto _ : state) {
        const Start start = StartOnce(program, arguments);
        if (start.milliseconds < 0) {
            state.SkipWithError("the window was not painted");
            return;
        }
        state.SetIterationTime(start.milliseconds / 1000.0);
        resident = std::max(resident, start.residentMB);
    }
    state.counters["resident_MB"] = resident;
}

} // namespace

BENCHMARK_CAPTURE(Startup, bare_qt_window_peer, Subject::BareWindow)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Startup, bare_window_with_chinese_line, Subject::BareWindowWithChinese)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Startup, quenda_calendar, Subject::Program)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
