// calendar-dump lunar FROM TO            every date of the engine's mixed calendar: the lunar conversion
// calendar-dump info FROM TO [--running] every proleptic Gregorian date of 1..2100: the texts of TChnCal
// calendar-dump holidays FROM TO [PATH...] every date with a rest (休) or work (班) mark: date, mark, name,
//                                        from the *.tsv files of each folder PATH or the file PATH, in
//                                        order (the shipped data when none is given); what was skipped and
//                                        the years of the range not marked complete go to standard error
// Dates are Y-MM-DD with a signed year (-849-01-01). One tab-separated line per date, no header.

#include "ChnCalendarUse.h"
#include "CnCalendar.h"
#include "DateTimeValue.h"
#include "HolidayTable.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

using namespace quenda;

// Output collects in one buffer and goes out in large writes: a full dump is over a million lines.
class Output {
public:
    ~Output() { flush(); }
    Output& operator<<(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() > (1 << 16)) flush();
        return *this;
    }
    Output& operator<<(int value) {
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        return *this << std::string_view(digits, static_cast<std::size_t>(result.ptr - digits));
    }
    void flush() {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
        m_buffer.clear();
    }

private:
    std::string m_buffer;
};

std::optional<CivilDate> parseDate(std::string_view text) {
    CivilDate date;
    const char* p = text.data();
    const char* end = p + text.size();
    auto number = [&](int& out) {
        const auto result = std::from_chars(p, end, out);
        if (result.ec != std::errc()) return false;
        p = result.ptr;
        return true;
    };
    auto dash = [&] { return p != end && *p++ == '-'; };
    if (!number(date.year) || !dash() || !number(date.month) || !dash() || !number(date.day) || p != end)
        return std::nullopt;
    return date;
}

void writeDate(Output& out, const CivilDate& d) {
    out << d.year << (d.month < 10 ? "-0" : "-") << d.month << (d.day < 10 ? "-0" : "-") << d.day;
}

bool isEngineDate(const CivilDate& d) {
    return d.year >= kFirstEngineYear && d.year <= kLastEngineYear && d.year != 0 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month);
}

// The next date of the mixed calendar; its months keep all their days, the dropped dates of 1582 included.
// The years run from 1 BC (-1) straight to 1 AD: there is no year 0.
CivilDate nextEngineDate(CivilDate d) {
    if (++d.day <= DaysInMonth(d.year, d.month)) return d;
    d.day = 1;
    if (++d.month <= 12) return d;
    d.month = 1;
    d.year = d.year == -1 ? 1 : d.year + 1;
    return d;
}

void dumpLunar(const CivilDate& from, const CivilDate& to) {
    Output out;
    for (CivilDate d = from; CompareDates(d.year, d.month, d.day, to.year, to.month, to.day) <= 0;
         d = nextEngineDate(d)) {
        const std::optional<LunarDate> l = SolarToLunar(d.year, d.month, d.day);
        const LunarDate shown = l.value_or(LunarDate{});
        writeDate(out, d);
        out << (l ? "\t1\t" : "\t0\t") << shown.year << "\t" << shown.month
            << (shown.leap ? "\t1\t" : "\t0\t") << shown.day << "\t" << LunarDayOf(d.year, d.month, d.day)
            << "\t" << LunarMonthOf(d.year, d.month, d.day) << "\n";
    }
}

bool isInfoDate(const CivilDate& d) {
    return d.year <= 2100 && IsValidGregorianDate(d.year, d.month, d.day);
}

void writeFill(Output& out, const TChnCal& c) {
    out << "\t" << c.YearStemBranchText << "\t" << c.AnimalText << "\t" << c.ConstellationText << "\t"
        << c.LunarMonthText << "\t" << c.LunarDayText << "\t" << c.HolidayText << "\t" << c.LunarHolidayText
        << "\t" << c.SolarTermText << "\t" << c.EraText << "\n";
}

void dumpInfo(const CivilDate& from, const CivilDate& to, bool running) {
    Output out;
    TChnCal runningObject;
    const TDateTime last = EncodeDate(to.year, to.month, to.day);
    for (TDateTime v = EncodeDate(from.year, from.month, from.day); v <= last; v += 1) {
        TChnCal fresh;
        TChnCal& c = running ? runningObject : fresh;
        c.Fill(v);
        writeDate(out, DecodeDate(v));
        writeFill(out, c);
    }
}

std::vector<std::filesystem::path> holidayFiles(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 4; i < argc; ++i) {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[i], error)) {
            files.emplace_back(argv[i]);
            continue;
        }
        for (auto& file : HolidayFilesIn(argv[i]))
            files.push_back(std::move(file));
    }
    return argc > 4 ? files : HolidayFilesIn(QUENDA_SHIPPED_HOLIDAYS);
}

void dumpHolidays(const CivilDate& from, const CivilDate& to,
                  const std::vector<std::filesystem::path>& files) {
    HolidayTable table;
    std::vector<SkippedLine> skipped;
    for (const auto& file : files)
        ReadHolidayFile(file, table, skipped);
    for (const SkippedLine& line : skipped)
        std::fprintf(stderr, "skipped %s:%d: %s\n", line.source.c_str(), line.line, line.reason.c_str());
    for (int year = from.year; year <= to.year; ++year)
        if (!table.IsYearComplete(year)) std::fprintf(stderr, "%d: not marked complete\n", year);
    Output out;
    for (const auto& [key, day] :
         table.Between(DayKeyOf(from.year, from.month, from.day), DayKeyOf(to.year, to.month, to.day))) {
        writeDate(out, {key / 10000, key / 100 % 100, key % 100});
        out << "\t" << DayKindText(day.kind) << "\t" << day.name << "\n";
    }
}

int usage() {
    std::fputs("usage: calendar-dump lunar FROM TO\n"
               "       calendar-dump info FROM TO [--running]\n"
               "       calendar-dump holidays FROM TO [FOLDER|FILE...]\n"
               "dates Y-MM-DD with a signed year; lunar takes -849-01-01 .. 2100-12-31 (no year 0),\n"
               "info and holidays take proleptic Gregorian dates of 1-01-01 .. 2100-12-31\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage();
    const std::string_view mode = argv[1];
    const std::optional<CivilDate> from = parseDate(argv[2]);
    const std::optional<CivilDate> to = parseDate(argv[3]);
    if (!from || !to) return usage();
    if (mode == "lunar" && argc == 4 && isEngineDate(*from) && isEngineDate(*to)) {
        dumpLunar(*from, *to);
        return 0;
    }
    const bool running = argc == 5 && std::string_view(argv[4]) == "--running";
    if (mode == "info" && (argc == 4 || running) && isInfoDate(*from) && isInfoDate(*to)) {
        dumpInfo(*from, *to, running);
        return 0;
    }
    if (mode == "holidays" && isInfoDate(*from) && isInfoDate(*to)) {
        dumpHolidays(*from, *to, holidayFiles(argc, argv));
        return 0;
    }
    return usage();
}
