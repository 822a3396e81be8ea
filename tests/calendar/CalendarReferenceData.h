#pragma once
// Readers for the astronomical reference tables of 1900-2100 in tests/data/calendar. Dates in the files are
// Gregorian; they are walked with the platform's date-time value, independent of the engine's arithmetic.

#include "DateTimeValue.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quenda::testdata {

struct LunarMonthRow {
    CivilDate firstDay;
    int lunarYear = 0;
    int lunarMonth = 0;
    bool leap = false;
    int days = 0;
};

struct SolarTermRow {
    int year = 0;
    int index = 0; // 0 小寒 ... 23 冬至
    std::string name;
    CivilDate date;
};

inline CivilDate parseIsoDate(const std::string& text) {
    CivilDate d;
    if (std::sscanf(text.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day) != 3) return {};
    return d;
}

// Data lines of a tab-separated file: comments (#) and the header line (first field not a number) skipped.
inline std::vector<std::vector<std::string>> readTsv(const std::string& fileName) {
    std::ifstream in(std::string(QUENDA_TEST_DATA_DIR) + "/calendar/" + fileName);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] < '0' || line[0] > '9') continue;
        std::vector<std::string> fields;
        std::istringstream fieldStream(line);
        std::string field;
        while (std::getline(fieldStream, field, '\t'))
            fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

inline std::vector<LunarMonthRow> readLunarMonths() {
    std::vector<LunarMonthRow> months;
    for (const auto& f : readTsv("lunar_months_1900_2100.tsv")) {
        if (f.size() < 5) continue;
        months.push_back(
            {parseIsoDate(f[0]), std::stoi(f[1]), std::stoi(f[2]), f[3] == "1", std::stoi(f[4])});
    }
    return months;
}

inline std::vector<SolarTermRow> readSolarTerms() {
    std::vector<SolarTermRow> terms;
    for (const auto& f : readTsv("solar_terms_1900_2100.tsv")) {
        if (f.size() < 4) continue;
        terms.push_back({std::stoi(f[0]), std::stoi(f[1]), f[2], parseIsoDate(f[3])});
    }
    return terms;
}

} // namespace quenda::testdata
