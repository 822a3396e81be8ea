// The stem-branch cycle, zodiac and star sign.

#include "CalendarReferenceData.h"
#include "CnCalendar.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace quenda {
namespace {

TEST(StemBranch, YearIndices) {
    EXPECT_EQ(YearStemBranch(4), 0);
    EXPECT_EQ(YearStemBranch(1984), 0);
    EXPECT_EQ(YearStemBranch(2023), 39);
    EXPECT_EQ(YearStemBranch(1), 57);
    EXPECT_EQ(YearStemBranch(-1), 56); // no year 0: 1 BC directly precedes 1 AD
    EXPECT_EQ(YearStemBranch(0), 57);
    EXPECT_EQ(YearStemBranch(-849), 48);
    EXPECT_EQ(YearAnimal(2023), 3);
    EXPECT_EQ(YearAnimal(2024), 4);
    EXPECT_EQ(YearAnimal(-1), 8);
    for (const int year : {INT_MIN, INT_MAX}) {
        EXPECT_GE(YearStemBranch(year), 0);
        EXPECT_LT(YearAnimal(year), 12);
        EXPECT_GE(YearStemBranchByTerm(year, 1, 1), 0);
    }
}

TEST(StemBranch, Names) {
    EXPECT_EQ(StemBranchName(0), "甲子");
    EXPECT_EQ(StemBranchName(39), "癸卯");
    EXPECT_EQ(StemBranchName(59), "癸亥");
    EXPECT_EQ(StemBranchName(60), "");
    EXPECT_EQ(StemBranchName(-1), "");
    std::set<std::string> distinct;
    for (int i = 0; i < 60; ++i)
        distinct.insert(std::string(StemBranchName(i)));
    EXPECT_EQ(distinct.size(), 60u);
    EXPECT_EQ(AnimalName(3), "兔");
    EXPECT_EQ(AnimalName(12), "");
    EXPECT_EQ(ConstellationName(9), "摩羯");
    EXPECT_EQ(ConstellationName(-1), "");
}

TEST(StemBranch, TheYearChangesOnTheDayOfSpringBegins) {
    EXPECT_EQ(YearStemBranchByTerm(2023, 2, 3), 38);
    EXPECT_EQ(YearStemBranchByTerm(2023, 2, 4), 39);
    EXPECT_EQ(YearStemBranchByTerm(2025, 2, 2), 40);
    EXPECT_EQ(YearStemBranchByTerm(2025, 2, 3), 41);
    EXPECT_EQ(StemBranchName(YearStemBranchByTerm(2023, 1, 22)), "壬寅"); // lunar new year, before 立春
}

TEST(StemBranch, EveryYearOf1900To2100ChangesOnTheReferenceSpringBegins) {
    for (const auto& term : testdata::readSolarTerms()) {
        if (term.index != 2) continue;
        const CivilDate& d = term.date;
        EXPECT_EQ(YearStemBranchByTerm(d.year, d.month, d.day), YearStemBranch(d.year)) << d.year;
        const CivilDate before = DecodeDate(EncodeDate(d.year, d.month, d.day) - 1);
        EXPECT_EQ(YearStemBranchByTerm(before.year, before.month, before.day), YearStemBranch(d.year - 1))
            << d.year;
    }
}

TEST(StemBranch, StarSignBoundaries) {
    // clang-format off
    const struct { int month, day, sign; } cases[] = {
        {1, 1, 9}, {1, 19, 9}, {1, 20, 10}, {2, 18, 10}, {2, 19, 11}, {3, 20, 11}, {3, 21, 0}, {4, 20, 0},
        {4, 21, 1}, {5, 20, 1}, {5, 21, 2}, {6, 21, 2}, {6, 22, 3}, {7, 22, 3}, {7, 23, 4}, {8, 22, 4},
        {8, 23, 5}, {9, 22, 5}, {9, 23, 6}, {10, 22, 6}, {10, 23, 7}, {11, 22, 7}, {11, 23, 8}, {12, 21, 8},
        {12, 22, 9}, {12, 31, 9}, {2, 30, 11}, {0, 0, 9}, {13, 1, 9}, {INT_MAX, INT_MAX, 9}, {INT_MIN, 0, 9},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ConstellationOf(c.month, c.day), c.sign) << c.month << "-" << c.day;
}

} // namespace
} // namespace quenda
