// TChnCalendar changing to another month (day table with its engine fills, background render, every grid
// cell composed into the grid's off-screen buffer) and a plain repaint, beside Qt's QCalendarWidget
// switching months and painting in the same run; and the same month change with the 休/班 and note marks
// beside it without them. Absolute times here are noisy; the ratio is what counts.

#include "ChnCalendarPicker.h"
#include "Clock.h"
#include "HolidayTable.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

using quenda::EncodeDate;
using quenda::TChnCalendar;

const quenda::TDateTime kNow = EncodeDate(2013, 1, 3) + 0.38143699074;

std::unique_ptr<TChnCalendar> MakeCalendar() {
    quenda::Clock::SetNowForTesting([] { return kNow; });
    auto calendar = std::make_unique<TChnCalendar>();
    calendar->resize(419, 250);
    calendar->CreateWnd();
    return calendar;
}

// The twelve months of 2013 in turn, each a full date change.
void BM_ChnCalendarChangeMonth(benchmark::State& state) {
    const auto calendar = MakeCalendar();
    int month = 0;
    for (auto _ : state) {
        month = month % 12 + 1;
        calendar->SetDateTime(EncodeDate(2013, month, 15));
        benchmark::DoNotOptimize(calendar->DayGrid().Buffer().constBits());
    }
}
BENCHMARK(BM_ChnCalendarChangeMonth)->Unit(benchmark::kMicrosecond);

// The same, then the whole control painted into an image as the screen would get it.
void BM_ChnCalendarChangeMonthAndPaint(benchmark::State& state) {
    const auto calendar = MakeCalendar();
    QImage surface(calendar->size(), QImage::Format_RGB32);
    int month = 0;
    for (auto _ : state) {
        month = month % 12 + 1;
        calendar->SetDateTime(EncodeDate(2013, month, 15));
        calendar->render(&surface);
    }
}
BENCHMARK(BM_ChnCalendarChangeMonthAndPaint)->Unit(benchmark::kMicrosecond);

// As the main window shows it: the shipped rest and work days, and four days of every month with a note
// from a provider that answers at once (finding them in the store is bench-note-save's NoteDaysOfMonth).
void BM_ChnCalendarChangeMonthMarked(benchmark::State& state) {
    const auto calendar = MakeCalendar();
    auto holidays = std::make_shared<quenda::HolidayTable>();
    std::vector<quenda::SkippedLine> skipped;
    for (const auto& file : quenda::HolidayFilesIn(QUENDA_SHIPPED_HOLIDAYS))
        quenda::ReadHolidayFile(file, *holidays, skipped);
    calendar->SetHolidays(holidays);
    int queries = 0;
    calendar->SetNoteDaysProvider([&queries](QDate first, QDate) {
        ++queries;
        return std::optional(
            QSet<QDate>{first.addDays(2), first.addDays(9), first.addDays(16), first.addDays(23)});
    });
    QImage surface(calendar->size(), QImage::Format_RGB32);
    int month = 0;
    queries = 0;
    for (auto _ : state) {
        month = month % 12 + 1;
        calendar->SetDateTime(EncodeDate(2013, month, 15));
        calendar->render(&surface);
    }
    state.counters["queries_per_change"] = double(queries) / double(state.iterations());
}
BENCHMARK(BM_ChnCalendarChangeMonthMarked)->Unit(benchmark::kMicrosecond);

// A repaint without a change copies the buffers: no engine fill, no cell composition.
void BM_ChnCalendarPlainRepaint(benchmark::State& state) {
    const auto calendar = MakeCalendar();
    QImage surface(calendar->size(), QImage::Format_RGB32);
    calendar->render(&surface); // delivers the pending first resize, a full layout pass
    int cellsComposed = 0;
    calendar->OnDrawDateCell = [&](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool&) {
        ++cellsComposed;
    };
    const quenda::TDateTime lastFill = calendar->DateInfo().Date;
    for (auto _ : state)
        calendar->render(&surface);
    state.counters["cells_composed"] = cellsComposed;
    state.counters["engine_fills"] = calendar->DateInfo().Date == lastFill ? 0 : 1;
}
BENCHMARK(BM_ChnCalendarPlainRepaint)->Unit(benchmark::kMicrosecond);

// The peer: Qt's month calendar switching pages and painting, at the same size.
void BM_QCalendarWidgetChangeMonth(benchmark::State& state) {
    QCalendarWidget widget;
    widget.resize(419, 250);
    widget.show();
    QImage surface(widget.size(), QImage::Format_RGB32);
    int month = 0;
    for (auto _ : state) {
        month = month % 12 + 1;
        widget.setCurrentPage(2013, month);
        widget.render(&surface);
    }
}
BENCHMARK(BM_QCalendarWidgetChangeMonth)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    quenda::InstallFontSubstitutions();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
