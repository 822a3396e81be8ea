// The rest and work days: reading the tab-separated lines, and the shipped data of 2007-2026.

#include "DateTimeValue.h"
#include "HolidayTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quenda {
namespace {

struct LineCase {
    const char* line;
    bool read;
};

TEST(HolidayTable, ReadsWellFormedLinesAndSkipsEveryOtherKindByLineNumber) {
    // clang-format off
    const LineCase cases[] = {
        {"2026-10-01\t休\t国庆节", true},     {"2026-09-20\t班\t国庆节\r", true},
        {" 2026-10-02 \t 休 \t 国庆节 ", true}, {"2026-10-03 休 国庆节", false},
        {"2026-10-04\t休", false},            {"2026-10-05\t休\t国庆节\textra", false},
        {"2026-02-30\t休\t春节", false},       {"2026-1-05\t休\t春节", false},
        {"20261006\t休\t国庆节", false},       {"2026-10-07\t假\t国庆节", false},
        {"2026-10-08\t休\t", false},          {"2026-10-09\t休\t\xB9\xFA\xC7\xEC", false}, // GBK bytes
        {"2026-10-10\t班\t国\x01庆", false},
    };
    // clang-format on
    std::string text = "\xEF\xBB\xBF# comment\n\n   \n";
    for (const LineCase& c : cases)
        text += std::string(c.line) + "\n";
    HolidayTable table;
    std::vector<SkippedLine> skipped;
    table.AddText(text, "a.tsv", skipped);
    std::vector<int> expected;
    for (int i = 0; i < int(std::size(cases)); ++i)
        if (!cases[i].read) expected.push_back(i + 4);
    std::vector<int> lines;
    for (const SkippedLine& line : skipped) {
        EXPECT_EQ(line.source, "a.tsv");
        EXPECT_FALSE(line.reason.empty());
        lines.push_back(line.line);
    }
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(*table.Find(2026, 9, 20), (HolidayDay{DayKind::Work, "国庆节"}));
    EXPECT_EQ(*table.Find(2026, 10, 2), (HolidayDay{DayKind::Rest, "国庆节"}));
    EXPECT_EQ(table.Find(2026, 10, 4), nullptr);
}

TEST(HolidayTable, LaterTextReplacesDaysAndOnlyCompleteCommentsCoverAYear) {
    HolidayTable table;
    std::vector<SkippedLine> skipped;
    table.AddText("# 2026 国办发明电〔2025〕7号 complete\n# 2025 incomplete\n# 2024complete\n"
                  "2026-10-08\t休\t国庆节\n2026-10-10\t班\t国庆节\n",
                  "shipped.tsv", skipped);
    table.AddText("2026-10-08\t班\t调整\n# 2027 complete\n", "user.tsv", skipped);
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(*table.Find(2026, 10, 8), (HolidayDay{DayKind::Work, "调整"}));
    EXPECT_EQ(table.Between(20261009, 20261231).size(), 1u);
    EXPECT_TRUE(table.IsYearComplete(2026));
    EXPECT_TRUE(table.IsYearComplete(2027));
    EXPECT_FALSE(table.IsYearComplete(2025));
    EXPECT_FALSE(table.IsYearComplete(2024));
}

TEST(HolidayTable, FilesAreListedByNameAndUnreadableOrHugeFilesAreSkippedWhole) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("quenda-holiday-files-" + std::to_string(std::random_device()()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "c.tsv"); // a folder, not a file
    for (const char* name : {"b.TSV", "a.tsv", "notes.txt"})
        std::ofstream(folder / name) << "2027-01-01\t休\t元旦\n";
    std::ofstream(folder / "huge.tsv") << std::string(kMaxHolidayFileBytes + 1, '#');
    const auto files = HolidayFilesIn(folder);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].filename(), "a.tsv");
    EXPECT_EQ(files[1].filename(), "b.TSV");
    HolidayTable table;
    std::vector<SkippedLine> skipped;
    for (const auto& file : files)
        ReadHolidayFile(file, table, skipped);
    ReadHolidayFile(folder / "missing.tsv", table, skipped);
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].line, 0);
    EXPECT_EQ(std::filesystem::path(skipped[1].source).filename(), "missing.tsv");
    EXPECT_NE(table.Find(2027, 1, 1), nullptr);
    EXPECT_TRUE(HolidayFilesIn(folder / "none").empty());
    std::filesystem::remove_all(folder);
}

// Every year is complete, and the notices move work only onto weekends.
TEST(ShippedHolidays, CoverEveryYearFrom2007To2026WithWorkDaysOnWeekends) {
    HolidayTable table;
    std::vector<SkippedLine> skipped;
    for (const auto& file : HolidayFilesIn(QUENDA_SHIPPED_HOLIDAYS))
        ReadHolidayFile(file, table, skipped);
    EXPECT_TRUE(skipped.empty());
    for (int year = 2007; year <= 2026; ++year)
        EXPECT_TRUE(table.IsYearComplete(year)) << year;
    int workDays = 0;
    for (const auto& [key, day] : table.Between(20070101, 20261231)) {
        if (day.kind != DayKind::Work) continue;
        ++workDays;
        const int weekday = DayOfWeek(EncodeDate(key / 10000, key / 100 % 100, key % 100));
        EXPECT_TRUE(weekday == 1 || weekday == 7) << key;
    }
    EXPECT_GT(workDays, 100);
}

} // namespace
} // namespace quenda
