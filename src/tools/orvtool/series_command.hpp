#pragma once
// "orvtool series": repeating entries for scripts and checks.
//
//   series add FILE.ORV --kind automatic|cash|very-special|special --name TEXT
//              [--amount N | --comment TEXT] --start YYYY-MM-DD --every N
//              --unit week|month|year [--last-day] [--count N | --until YYYY-MM-DD]
//              [--shift none|previous|next]
//       adds every occurrence up to the horizon or none (the input dialog's rules) and prints
//       the new series' id
//   series list FILE.ORV
//       one line per series: id, rule, next occurrence (YYYY-MM-DD or "-"), the entry;
//       separated by tabs
//   series delete FILE.ORV ID [--from YYYY-MM-DD]
//       removes the series, or its occurrences from that date on, with their entries
//
// The series live in FILE.ORV.series (missing: no series). Takes the words after "series"
// and today's date; returns the exit code: 0 done, 1 a file that cannot be read or written or
// a series that cannot be added (the reason on `err`, nothing written), 2 a usage error.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.hpp"
#include "series/series.hpp"

namespace orv::tool {

int RunSeriesCommand(const std::vector<std::string>& args, Date today, std::string& out,
                     std::string& err);

// The series file beside the data file at `data_path` into `book` (left empty when there is
// none). False, with the reason and `consequence` ("nothing was written") on `err`, when it
// exists but does not read.
bool LoadSeriesCompanion(const std::string& data_path, std::optional<SeriesBook>& book, std::string& err,
                         std::string_view consequence);

}  // namespace orv::tool
