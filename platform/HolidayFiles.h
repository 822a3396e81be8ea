#pragma once
// Where the rest and work days come from: the program's own holidays folder (the shipped data), then the
// user's Data/holidays folder, so a user or packager adds a year without a rebuild. Each folder's *.tsv
// files are read in name order; a later file adds days or replaces the days it lists.

#include "HolidayTable.h"

#include <QString>

#include <memory>
#include <vector>

namespace quenda {

struct HolidayData {
    std::shared_ptr<const HolidayTable> table;
    std::vector<SkippedLine> skipped; // lines and files not read, in the order they were met
};

// Reads every holiday file. A missing folder adds nothing and is no error.
HolidayData LoadHolidays();

// The one message about what was skipped, naming the first line with its file's whole path (or the file)
// and the count; empty when nothing was.
QString SkippedHolidaysMessage(const std::vector<SkippedLine>& skipped);

} // namespace quenda
