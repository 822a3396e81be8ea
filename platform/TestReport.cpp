#include "TestReport.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

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

} // namespace quenda
