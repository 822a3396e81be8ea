// The sixty-year stem-branch cycle, the zodiac animal and the star sign of a date.

#include "CnCalendar.h"

#include "CnCalendarDetail.h"

#include <array>
#include <cstdint>

namespace quenda {

namespace {

// clang-format off
constexpr std::string_view StemNames[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr std::string_view BranchNames[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
constexpr std::string_view AnimalNames[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::string_view ConstellationNames[12] = {
    "白羊", "金牛", "双子", "巨蟹", "狮子", "处女", "天秤", "天蝎", "射手", "摩羯", "宝瓶", "双鱼",
};
// 100 * month + day of the first day of each sign, from 宝瓶 (index 10) on.
constexpr int ConstellationBounds[12] = {120, 219, 321, 421, 521, 622, 723, 823, 923, 1023, 1123, 1222};
// clang-format on

// Every stem and branch is one three-byte UTF-8 character, so each cycle name is six bytes.
constexpr std::size_t kNameBytes = 6;
constexpr auto StemBranchNames = [] {
    std::array<std::array<char, kNameBytes>, 60> names{};
    for (std::size_t i = 0; i < 60; ++i) {
        const std::string_view stem = StemNames[i % 10];
        const std::string_view branch = BranchNames[i % 12];
        for (std::size_t b = 0; b < 3; ++b) {
            names[i][b] = stem[b];
            names[i][3 + b] = branch[b];
        }
    }
    return names;
}();
static_assert(StemNames[0].size() == 3 && BranchNames[0].size() == 3);

// Index in a cycle of the year number: year 4 (and 1 BC counted as year 0 for the cycle) starts it.
int cycleOfYear(int year, int cycle) {
    const std::int64_t shifted =
        year > 0 ? static_cast<std::int64_t>(year) - 4 : static_cast<std::int64_t>(year) - 3;
    const std::int64_t r = shifted % cycle;
    return static_cast<int>(r < 0 ? r + cycle : r);
}

} // namespace

std::string_view StemBranchName(int index) {
    if (index < 0 || index > 59) return {};
    return {StemBranchNames[static_cast<std::size_t>(index)].data(), kNameBytes};
}

std::string_view AnimalName(int index) {
    if (index < 0 || index > 11) return {};
    return AnimalNames[index];
}

std::string_view ConstellationName(int index) {
    if (index < 0 || index > 11) return {};
    return ConstellationNames[index];
}

int YearStemBranch(int year) {
    return cycleOfYear(year, 60);
}

int YearAnimal(int year) {
    return cycleOfYear(year, 12);
}

int SpringStartDay(int year) {
    return detail::floorToInt(SolarTermDay(year, 3)); // 立春 is term number 3
}

int YearStemBranchByTerm(int year, int month, int day) {
    // The stem-branch year begins on the day of 立春, not at the lunar new year.
    if (DayOfYear(year, month, day) < SpringStartDay(year))
        return year > INT32_MIN ? YearStemBranch(year - 1) : YearStemBranch(year);
    return YearStemBranch(year);
}

int ConstellationOf(int month, int day) {
    // Numeric on purpose: a pair that is no date (02-30) still falls into the range holding its number.
    const std::int64_t t = static_cast<std::int64_t>(month) * 100 + day;
    if (t < ConstellationBounds[0] || t >= ConstellationBounds[11]) return 9;
    int bound = 0;
    while (bound < 10 && t >= ConstellationBounds[bound + 1])
        ++bound;
    return (bound + 10) % 12;
}

} // namespace quenda
