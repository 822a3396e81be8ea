#include "TestReport.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace quenda {

bool TestReportEnabled() {
    static const bool enabled = qgetenv("QUENDA_TEST_REPORT") == "1";
    return enabled;
}

void ReportForTests(const QString& line) {
    if (!TestReportEnabled()) return;
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

void TraceStartupStep(const char* step) {
    static const bool enabled = qgetenv("QUENDA_STARTUP_TRACE") == "1";
    if (!enabled) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "startup %s %lld\n", step, now.tv_sec * 1000000LL + now.tv_nsec / 1000);
}

} // namespace quenda
