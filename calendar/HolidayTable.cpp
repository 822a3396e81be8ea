#include "HolidayTable.h"

#include "DateTimeValue.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>

namespace quenda {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Well-formed UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing above U+10FFFF, no control
// characters. A file saved in GBK fails here instead of showing mojibake.
bool IsCleanUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return false;
        const int length = c < 0x80                 ? 1
                           : c >= 0xC2 && c <= 0xDF ? 2
                           : c >= 0xE0 && c <= 0xEF ? 3
                           : c >= 0xF0 && c <= 0xF4 ? 4
                                                    : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        const auto second = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second >= 0x90))
            return false;
        i += length;
    }
    return true;
}

std::optional<int> Digits(std::string_view text) {
    int value = 0;
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// YYYY-MM-DD of a date that exists; its key.
std::optional<int> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = Digits(text.substr(0, 4));
    const auto month = Digits(text.substr(5, 2));
    const auto day = Digits(text.substr(8, 2));
    if (!year || !month || !day || !IsValidGregorianDate(*year, *month, *day)) return std::nullopt;
    return DayKeyOf(*year, *month, *day);
}

std::optional<DayKind> ParseKind(std::string_view text) {
    if (text == "休") return DayKind::Rest;
    if (text == "班") return DayKind::Work;
    return std::nullopt;
}

// "# 2026 国办发明电〔2025〕7号 complete": the year, when the comment declares one complete.
std::optional<int> CompleteYear(std::string_view comment) {
    comment = Trimmed(comment.substr(1));
    constexpr std::string_view kWord = "complete";
    if (comment.size() < 4 + kWord.size() || !comment.ends_with(kWord)) return std::nullopt;
    if (comment.size() > 4 && comment[4] != ' ' && comment[4] != '\t') return std::nullopt;
    const std::size_t before = comment.size() - kWord.size() - 1;
    if (comment[before] != ' ' && comment[before] != '\t') return std::nullopt;
    return Digits(comment.substr(0, 4));
}

struct Fields {
    std::string_view date, kind, name;
};

std::optional<Fields> SplitFields(std::string_view line) {
    const auto first = line.find('\t');
    const auto second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos || line.find('\t', second + 1) != std::string_view::npos)
        return std::nullopt;
    return Fields{Trimmed(line.substr(0, first)), Trimmed(line.substr(first + 1, second - first - 1)),
                  Trimmed(line.substr(second + 1))};
}

struct ParsedLine {
    int key = 0;
    HolidayDay day;
    const char* problem = nullptr; // why the line is skipped
};

ParsedLine Skip(const char* problem) {
    ParsedLine line;
    line.problem = problem;
    return line;
}

ParsedLine ParseDayLine(std::string_view line) {
    const auto fields = SplitFields(line);
    if (!fields) return Skip("不是“日期<Tab>休或班<Tab>名称”三项");
    const auto key = ParseDate(fields->date);
    if (!key) return Skip("日期不存在或不是YYYY-MM-DD");
    const auto kind = ParseKind(fields->kind);
    if (!kind) return Skip("第二项不是“休”或“班”");
    if (fields->name.empty()) return Skip("缺少节日名称");
    if (!IsCleanUtf8(fields->name)) return Skip("名称不是UTF-8文本");
    return {*key, {*kind, std::string(fields->name)}};
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

bool IsTsv(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return extension == ".tsv";
}

} // namespace

std::string_view DayKindText(DayKind kind) {
    return kind == DayKind::Rest ? "休" : "班";
}

void HolidayTable::AddText(std::string_view text, const std::string& source,
                           std::vector<SkippedLine>& skipped) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // a byte-order mark from Windows editors
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty()) continue;
        if (trimmed.front() == '#') {
            if (const auto year = CompleteYear(trimmed)) m_completeYears.insert(*year);
            continue;
        }
        ParsedLine parsed = ParseDayLine(trimmed);
        if (parsed.problem != nullptr)
            skipped.push_back({source, number, parsed.problem});
        else
            m_days[parsed.key] = std::move(parsed.day);
    }
}

const HolidayDay* HolidayTable::Find(int year, int month, int day) const {
    const auto found = m_days.find(DayKeyOf(year, month, day));
    return found == m_days.end() ? nullptr : &found->second;
}

std::vector<std::pair<int, HolidayDay>> HolidayTable::Between(int firstKey, int lastKey) const {
    std::vector<std::pair<int, HolidayDay>> days;
    for (auto it = m_days.lower_bound(firstKey); it != m_days.end() && it->first <= lastKey; ++it)
        days.emplace_back(*it);
    return days;
}

void ReadHolidayFile(const std::filesystem::path& file, HolidayTable& table,
                     std::vector<SkippedLine>& skipped) {
    const std::string source = Utf8Of(file);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return skipped.push_back({source, 0, "无法读取"});
    if (size > kMaxHolidayFileBytes) return skipped.push_back({source, 0, "文件太大（超过1 MB）"});
    std::ifstream in(file, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size())))
        return skipped.push_back({source, 0, "无法读取"});
    table.AddText(text, source, skipped);
}

std::vector<std::filesystem::path> HolidayFilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (IsTsv(it->path()) && it->is_regular_file(error)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace quenda
