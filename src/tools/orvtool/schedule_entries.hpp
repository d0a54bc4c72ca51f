#pragma once
// The schedule as a flat list of entries, for the export formats: each entry with its day and
// its place in that day's list.
#include <string>
#include <vector>

#include "schedule/schedule.hpp"
#include "schedule/schedule_merge.hpp"

namespace orv::tool {

// An entry by its content, as the merge compares it, and the day it stands on.
struct DatedEntry {
  DateParts date;
  ScheduleEntry entry;
};

// Every entry in the order of the file: days as the tree holds them, and in each day its
// payments, then its special days. Exporting in this order and importing the result into an
// empty file rebuilds the same tree.
//
// Returns an error description when entries stand on a day that is not a day of the calendar
// (such as 30 February, which a file can hold but the program never shows); `entries` is then
// left as it was.
std::string ListScheduleEntries(const YearDatas& years, std::vector<DatedEntry>& entries);

// "2026-03-08"
std::string IsoDate(const DateParts& date);

}  // namespace orv::tool
