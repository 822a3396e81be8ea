// Reading a 100 KB note with mixed formatting and writing it back, beside QTextDocument's own HTML reader
// and writer on the same document in the same run. Target: each RTF direction under 2 ms and faster than
// the HTML peer.
#include "RtfCodec.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr qsizetype kNoteBytes = 100 * 1024;

// A long diary note as the editor makes it: Chinese sentences, English, ticks and crosses, dates, with
// bold, italic, underline, colours, sizes and two fonts switching every few words.
QTextDocument& note() {
    static QTextDocument document;
    if (!document.isEmpty()) return document;
    const QString words[] = {QString::fromUtf8("今天天气很好，"),
                             QString::fromUtf8("√ 交电费 "),
                             "Meeting at 10:00 ",
                             QString::fromUtf8("× 去银行 "),
                             QString::fromUtf8(" 2013.01.02 (三) "),
                             QString::fromUtf8("记得买糖瓜、扫房子。"),
                             QString::fromUtf8("😀 "),
                             QString::fromUtf8("（已完成）")};
    QTextCursor cursor(&document);
    for (int run = 0; quenda::writeRtf(document).size() < kNoteBytes; ++run) {
        for (int i = 0; i < 40; ++i, ++run) {
            QTextCharFormat format;
            format.setFontFamilies({run % 5 == 0 ? QStringLiteral("Arial") : QString::fromUtf8("宋体")});
            format.setFontPointSize(run % 7 == 0 ? 16 : 11);
            if (run % 3 == 0) format.setFontWeight(QFont::Bold);
            format.setFontItalic(run % 4 == 0);
            format.setFontUnderline(run % 6 == 0);
            if (run % 2 == 0) format.setForeground(QColor(run % 4 ? 0xFF0000 : 0x4F4F4F));
            cursor.insertText(words[run % 8], format);
        }
        cursor.insertBlock();
    }
    return document;
}

const QByteArray& noteRtf() {
    static const QByteArray bytes = quenda::writeRtf(note());
    return bytes;
}

const QString& noteHtml() {
    static const QString html = note().toHtml();
    return html;
}

void rtfRead(benchmark::State& state) {
    QTextDocument document;
    for (auto _ : state)
        quenda::readRtf(noteRtf(), document);
    state.SetBytesProcessed(state.iterations() * noteRtf().size());
}

void rtfWrite(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quenda::writeRtf(note()));
    state.SetBytesProcessed(state.iterations() * noteRtf().size());
}

void htmlRead(benchmark::State& state) {
    QTextDocument document;
    for (auto _ : state)
        document.setHtml(noteHtml());
}

void htmlWrite(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(note().toHtml());
}

BENCHMARK(rtfRead)->Unit(benchmark::kMillisecond);
BENCHMARK(htmlRead)->Unit(benchmark::kMillisecond);
BENCHMARK(rtfWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(htmlWrite)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration so the ratios to the peer can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) m_ms[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatios() const {
        std::printf("\nnote: %lld bytes of RTF, %lld characters of HTML, %d paragraphs\n",
                    static_cast<long long>(noteRtf().size()), static_cast<long long>(noteHtml().size()),
                    note().blockCount());
        printRatio("read ", "rtfRead", "htmlRead");
        printRatio("write", "rtfWrite", "htmlWrite");
    }

private:
    void printRatio(const char* what, const std::string& rtf, const std::string& html) const {
        if (!m_ms.contains(rtf) || !m_ms.contains(html)) return;
        std::printf("%s  RTF %.3f ms  HTML %.3f ms  RTF/HTML %.2f  (target: RTF < 2 ms and < HTML)\n", what,
                    m_ms.at(rtf), m_ms.at(html), m_ms.at(rtf) / m_ms.at(html));
    }
    std::map<std::string, double> m_ms;
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    note(); // build the note outside the measurements
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
