// The reign-era table and the era text of a civil year.

#include "ChnCalendarUse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace quenda {
namespace {

std::vector<std::string> fieldsOf(std::string_view row) {
    std::vector<std::string> fields;
    for (;;) {
        const auto comma = row.find(',');
        fields.emplace_back(row.substr(0, comma));
        if (comma == std::string_view::npos) return fields;
        row.remove_prefix(comma + 1);
    }
}

bool isWholeNumber(const std::string& text) {
    const auto digits = text.find_first_not_of('-') == 1 ? text.substr(1) : text;
    return !digits.empty() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Start year and era name of every row, in table order, as the reference list gives them.
std::vector<std::pair<int, std::string>> referenceRows() {
    std::ifstream in(QUENDA_TEST_DATA_DIR "/calendar/era_rows.tsv");
    std::vector<std::pair<int, std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        rows.emplace_back(std::stoi(line.substr(0, tab)), line.substr(tab + 1));
    }
    return rows;
}

TEST(EraTable, EveryRowHasSevenCleanFields) {
    for (std::string_view row : EraTable) {
        SCOPED_TRACE(std::string(row));
        const auto fields = fieldsOf(row);
        ASSERT_EQ(fields.size(), 7u);
        EXPECT_TRUE(isWholeNumber(fields[0]));
        EXPECT_TRUE(isWholeNumber(fields[1]));
        EXPECT_TRUE(isWholeNumber(fields[2]));
        EXPECT_FALSE(fields[3].empty()); // dynasty
        EXPECT_FALSE(fields[6].empty()); // era name
        for (const auto& field : fields) {
            EXPECT_EQ(SplitField(field, ",", 1), field) << "blank or control character around a field";
        }
    }
}

TEST(EraTable, StartYearsAndEraNamesFollowTheReferenceListInOrder) {
    const auto reference = referenceRows();
    ASSERT_EQ(reference.size(), static_cast<size_t>(kEraTableRows));
    for (int i = 0; i < kEraTableRows; ++i) {
        const auto fields = fieldsOf(EraTable[i]);
        ASSERT_EQ(fields.size(), 7u) << "row " << i;
        EXPECT_EQ(std::stoi(fields[0]), reference[i].first) << "row " << i;
        EXPECT_EQ(fields[6], reference[i].second) << "row " << i;
    }
}

TEST(EraTable, KeyRowsAreExact) {
    EXPECT_EQ(EraTable.front(), "-2069,45,0,夏,禹,,禹");
    EXPECT_EQ(EraTable.back(), "1949,9999,1948,当代,中国,,公历");
    for (std::string_view row :
         {"1,5,0,西汉,平帝,刘衍,元始", "1271,24,7,元,世祖,孛儿只斤·忽必烈,至元",
          "1328,1,0,元,泰定帝,孛儿只斤·也孙铁木耳,至和", "1328,1,0,元,幼主,孛儿只斤·阿速吉八,天顺",
          "1328,3,0,元,文宗,孛儿只斤·图贴睦尔,天历", "1911,37,0,近、现代,中华民国,,民国"}) {
        EXPECT_NE(std::find(EraTable.begin(), EraTable.end(), row), EraTable.end()) << row;
    }
}

TEST(EraOf, NamesTheReignOfTheYear) {
    EXPECT_EQ(EraOf(1), "[西汉]平帝 刘衍 元始元年");
    EXPECT_EQ(EraOf(2), "[西汉]平帝 刘衍 元始2年");
    EXPECT_EQ(EraOf(400), "[东晋]安帝 司马德宗 隆安4年");
    EXPECT_EQ(EraOf(1279), "[元]世祖 孛儿只斤·忽必烈 至元9年");
    EXPECT_EQ(EraOf(1328), "[元]文宗 孛儿只斤·图贴睦尔 天历元年");
    EXPECT_EQ(EraOf(1368), "[明]太祖 朱元璋 洪武元年");
    EXPECT_EQ(EraOf(1644), "[清]世祖 爱新觉罗·福临 顺治元年");
    EXPECT_EQ(EraOf(1910), "[清]宣统帝 爱新觉罗·溥仪 宣统2年");
}

TEST(EraOf, EmptyFieldsLeaveTheirBlanks) {
    EXPECT_EQ(EraOf(-2069), "[夏]禹  禹元年");
    EXPECT_EQ(EraOf(-2025), "[夏]禹  禹45年");
    EXPECT_EQ(EraOf(-2024), "[夏]启  启元年");
    EXPECT_EQ(EraOf(1911), "[近、现代]中华民国  民国元年");
    EXPECT_EQ(EraOf(1948), "[近、现代]中华民国  民国38年");
}

TEST(EraOf, YearsOutsideTheTableAreEmpty) {
    for (int year : {-2070, 1949, 2023, INT_MIN, INT_MAX})
        EXPECT_EQ(EraOf(year), "") << year;
}

TEST(EraOf, TableOrderLetsTheFirstMatchingLineWin) {
    // The Southern dynasties come first, so the Northern Wei's founding year is still an Eastern Jin year.
    EXPECT_EQ(EraOf(386), "[东晋]孝武帝 司马曜 太元11年");
    // The Chen row 祯明 is followed by a row that starts earlier, so it covers nothing: Sui takes over.
    EXPECT_EQ(EraOf(586), "[南朝/陈]后主 陈叔宝 至德4年");
    EXPECT_EQ(EraOf(587), "[隋]文帝 杨坚 开皇7年");
    // The Song rows run to 1278; from there the Yuan 至元 row counts from its own start in 1271.
    EXPECT_EQ(EraOf(1277), "[南宋]端宗 赵昰 景炎2年");
    EXPECT_EQ(EraOf(1278), "[元]世祖 孛儿只斤·忽必烈 至元8年");
    for (int year = 1279; year <= 1294; ++year) {
        EXPECT_EQ(EraOf(year), "[元]世祖 孛儿只斤·忽必烈 至元" + std::to_string(year - 1270) + "年");
    }
    EXPECT_EQ(EraOf(1295), "[元]成宗 孛儿只斤·铁穆耳 元贞元年");
    // Rows that start in the same year as the next row cover no year at all.
    EXPECT_EQ(EraOf(465), "[南朝/宋]明帝 刘彧 泰始元年");
    EXPECT_EQ(EraOf(904), "[唐]昭宗 李晔 天佑元年");
    EXPECT_EQ(EraOf(906), "[唐]哀帝 李柷 天佑2年");
}

// The era text without its year number: one per row, since no two rows share all four names.
std::string rowPart(const std::string& text) {
    const std::string yuan = "元年";
    if (text.size() >= yuan.size() && text.compare(text.size() - yuan.size(), yuan.size(), yuan) == 0) {
        return text.substr(0, text.size() - yuan.size());
    }
    const std::string nian = "年";
    const std::string withoutNian = text.substr(0, text.size() - nian.size());
    return withoutNian.substr(0, withoutNian.find_last_not_of("0123456789") + 1);
}

TEST(EraOf, EveryYearIsNamedAndNinetyFiveRowsAreNeverChosen) {
    std::set<std::string> chosen;
    for (int year = -2069; year <= 1948; ++year) {
        const std::string text = EraOf(year);
        ASSERT_FALSE(text.empty()) << year;
        chosen.insert(rowPart(text));
    }
    EXPECT_EQ(chosen.size(), static_cast<size_t>(kEraTableRows - 95));
    EXPECT_EQ(chosen.count("[北朝/北魏]道武帝 拓跋珪 登国"), 0u);
    EXPECT_EQ(chosen.count("[元]泰定帝 孛儿只斤·也孙铁木耳 至和"), 0u);
    EXPECT_EQ(chosen.count("[元]幼主 孛儿只斤·阿速吉八 天顺"), 0u);
    EXPECT_EQ(chosen.count("[南朝/陈]后主 陈叔宝 祯明"), 0u);
}

} // namespace
} // namespace quenda
