#pragma once
// The statutory rest (休) and work (班) days: the State Council's yearly notice moves working days onto
// weekends, so no rule of the calendar gives them; they are read from tab-separated files, one line a day:
// YYYY-MM-DD<TAB>休|班<TAB>name, UTF-8. "#" starts a comment; "# YYYY ... complete" declares that every
// such day of YYYY is listed. A later file adds days or replaces the days it lists. Nothing is guessed for
// a date no file lists: weekends are not marked.

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quenda {

enum class DayKind { Rest, Work };

// "休" or "班".
std::string_view DayKindText(DayKind kind);

struct HolidayDay {
    DayKind kind = DayKind::Rest;
    std::string name; // the holiday the notice arranges the day for, e.g. "国庆节"
    friend bool operator==(const HolidayDay&, const HolidayDay&) = default;
};

// A line or a whole file that was not read: its source (a file name) and line number, 0 for the whole
// file, and why.
struct SkippedLine {
    std::string source;
    int line = 0;
    std::string reason;
};

class HolidayTable {
public:
    // Adds the lines of one file's text. Malformed lines (a missing field, a date that does not exist, a
    // kind other than 休 or 班, an empty name, bytes that are not UTF-8) are skipped and appended to
    // `skipped`; blank lines and comments are not.
    void AddText(std::string_view text, const std::string& source, std::vector<SkippedLine>& skipped);

    // Nothing for a date no file lists.
    const HolidayDay* Find(int year, int month, int day) const;
    bool IsYearComplete(int year) const { return m_completeYears.count(year) != 0; }
    bool Empty() const { return m_days.empty(); }

    // The listed days from one date to another, inclusive, in date order; keys are YYYYMMDD.
    std::vector<std::pair<int, HolidayDay>> Between(int firstKey, int lastKey) const;

private:
    std::map<int, HolidayDay> m_days; // by YYYYMMDD
    std::set<int> m_completeYears;
};

// YYYYMMDD of a date, the key the table is ordered by.
constexpr int DayKeyOf(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

// Files larger than this are not read: the data of twenty years is 30 KB.
inline constexpr std::uintmax_t kMaxHolidayFileBytes = 1 << 20;

// Reads one file into the table; a file that cannot be read or is too large is one skipped entry (line 0).
void ReadHolidayFile(const std::filesystem::path& file, HolidayTable& table,
                     std::vector<SkippedLine>& skipped);

// The *.tsv files of a folder in the order they are read: by name, byte for byte. None when the folder
// does not exist.
std::vector<std::filesystem::path> HolidayFilesIn(const std::filesystem::path& folder);

} // namespace quenda
