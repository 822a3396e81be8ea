// The engine's SolarToLunar and TChnCal fills against ICU's Chinese calendar converting the same dates in
// the same run. Absolute times here are noisy; the ratios are what counts.

#include "ChnCalendarUse.h"
#include "CnCalendar.h"
#include "DateTimeValue.h"

#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

// Every allocation of the process is counted, so a benchmark can show that its path allocates nothing.
// GCC sees malloc inside the replaced operator new and warns about the matching free; that pairing is right.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long long> allocations{0};
}
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace quenda;

constexpr double kMsPerDay = 86400000.0;
constexpr double kBeijingOffsetMs = 8 * 3600000.0;
constexpr TDateTime kUnixEpochValue = 25569; // 1970-01-01 as a date-time value

const std::vector<CivilDate>& datesOf1900To2100() {
    static const std::vector<CivilDate> dates = [] {
        std::vector<CivilDate> all;
        for (TDateTime v = EncodeDate(1900, 1, 1); v <= EncodeDate(2100, 12, 31); v += 1)
            all.push_back(DecodeDate(v));
        return all;
    }();
    return dates;
}

void BM_EngineSolarToLunar(benchmark::State& state) {
    const auto& dates = datesOf1900To2100();
    std::size_t i = 0;
    long long checksum = 0;
    const long long allocationsBefore = allocations.load();
    for (auto _ : state) {
        const CivilDate& d = dates[i];
        const std::optional<LunarDate> l = SolarToLunar(d.year, d.month, d.day);
        checksum += l->day + l->month;
        if (++i == dates.size()) i = 0;
    }
    benchmark::DoNotOptimize(checksum);
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations.load() - allocationsBefore),
                                                  benchmark::Counter::kAvgIterations);
}

// ICU reckons the Chinese calendar in Beijing time; each date is handed over as its local midnight.
std::unique_ptr<icu::Calendar> makeIcuChineseCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone("Asia/Shanghai"), icu::Locale("zh_CN@calendar=chinese"), status));
    if (U_FAILURE(status)) return nullptr;
    return calendar;
}

UDate beijingMidnight(const CivilDate& d) {
    return (EncodeDate(d.year, d.month, d.day) - kUnixEpochValue) * kMsPerDay - kBeijingOffsetMs;
}

void BM_IcuChineseCalendar(benchmark::State& state) {
    const auto& dates = datesOf1900To2100();
    const auto calendar = makeIcuChineseCalendar();
    if (!calendar) {
        state.SkipWithError("ICU Chinese calendar unavailable");
        return;
    }
    std::size_t i = 0;
    long long checksum = 0;
    for (auto _ : state) {
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(beijingMidnight(dates[i]), status);
        checksum += calendar->get(UCAL_EXTENDED_YEAR, status) + calendar->get(UCAL_MONTH, status) +
                    calendar->get(UCAL_DATE, status) + calendar->get(UCAL_IS_LEAP_MONTH, status);
        if (++i == dates.size()) i = 0;
    }
    benchmark::DoNotOptimize(checksum);
}

// One object filled with every day of 2023, as a control showing a year of dates would.
void BM_FillYear(benchmark::State& state) {
    const TDateTime first = EncodeDate(2023, 1, 1);
    TChnCal info;
    for (auto _ : state) {
        for (int day = 0; day < 365; ++day)
            info.Fill(first + day);
        benchmark::DoNotOptimize(info.LunarDayText.data());
    }
    state.SetItemsProcessed(state.iterations() * 365);
}

// A month view: 42 consecutive fills of one object, the views moving month by month over 1900-2100.
void BM_Fill42(benchmark::State& state) {
    TChnCal info;
    int month = 0;
    for (auto _ : state) {
        const TDateTime start = EncodeDate(1900 + month / 12, month % 12 + 1, 1);
        for (int cell = 0; cell < 42; ++cell)
            info.Fill(start + cell);
        benchmark::DoNotOptimize(info.LunarDayText.data());
        if (++month == 201 * 12) month = 0;
    }
}

// ICU converting the same 42 dates of each view.
void BM_Icu42(benchmark::State& state) {
    const auto calendar = makeIcuChineseCalendar();
    if (!calendar) {
        state.SkipWithError("ICU Chinese calendar unavailable");
        return;
    }
    int month = 0;
    long long checksum = 0;
    for (auto _ : state) {
        const CivilDate first{1900 + month / 12, month % 12 + 1, 1};
        const UDate start = beijingMidnight(first);
        for (int cell = 0; cell < 42; ++cell) {
            UErrorCode status = U_ZERO_ERROR;
            calendar->setTime(start + cell * kMsPerDay, status);
            checksum += calendar->get(UCAL_DATE, status) + calendar->get(UCAL_IS_LEAP_MONTH, status);
        }
        if (++month == 201 * 12) month = 0;
    }
    benchmark::DoNotOptimize(checksum);
}

const auto kRangeSize = static_cast<benchmark::IterationCount>(73414); // days of 1900-2100
BENCHMARK(BM_EngineSolarToLunar)->Iterations(kRangeSize * 20);
BENCHMARK(BM_IcuChineseCalendar)->Iterations(kRangeSize);
BENCHMARK(BM_FillYear)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill42)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Icu42)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per iteration (ns) to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            m_nanoseconds[run.benchmark_name()] =
                run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMicrosecond ? 1000.0 : 1.0);
        ConsoleReporter::ReportRuns(runs);
    }
    double ns(const std::string& prefix) const {
        for (const auto& [name, value] : m_nanoseconds)
            if (name.rfind(prefix, 0) == 0) return value;
        return 0;
    }

private:
    std::map<std::string, double> m_nanoseconds;
};

} // namespace

int main(int argc, char** argv) {
    if (datesOf1900To2100().size() != static_cast<std::size_t>(kRangeSize)) return 1;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double engine = reporter.ns("BM_EngineSolarToLunar");
    const double icu = reporter.ns("BM_IcuChineseCalendar");
    const double fill42 = reporter.ns("BM_Fill42");
    const double icu42 = reporter.ns("BM_Icu42");
    std::printf(
        "\nSolarToLunar over 1900-2100: engine %.1f ns/conversion, ICU %.1f ns/conversion, ICU/engine %.1fx"
        " (target >= 50x)\n",
        engine, icu, engine > 0 ? icu / engine : 0.0);
    std::printf("42 consecutive fills: %.2f us (target < 50 us); ICU converting the same 42 dates: %.2f us, "
                "ratio %.1fx\n",
                fill42 / 1000, icu42 / 1000, fill42 > 0 ? icu42 / fill42 : 0.0);
    benchmark::Shutdown();
    return 0;
}
