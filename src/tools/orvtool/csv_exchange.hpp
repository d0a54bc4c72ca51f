#pragma once
// The schedule as CSV (RFC 4180) for spreadsheets, and back. UTF-8 with a byte order mark
// (spreadsheets on Japanese Windows take UTF-8 only with one), CR LF line ends, a header row,
// then one row per entry:
//
//   date,kind,payment_kind,name,amount,very_special,comment
//   2026-03-08,payment,automatic,家賃,50000,,
//   2026-03-08,special,,誕生日,,1,"花を買う, ケーキも"
#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/orvtool/schedule_entries.hpp"

namespace orv::tool {

inline constexpr std::array<std::string_view, 7> kCsvColumns{
    "date", "kind", "payment_kind", "name", "amount", "very_special", "comment"};

// A field as a row holds it: quoted, with quotes doubled, when it holds a comma, a quote or a
// line break; as it is otherwise.
std::string CsvField(std::string_view text);

// "2026-03-08", and the forms spreadsheets write back: "2026/03/08", "2026/3/8". Whether it is
// a day of the calendar is left to the caller (ok()).
std::optional<std::chrono::year_month_day> ParseDate(std::string_view text);

std::string WriteCsv(const std::vector<DatedEntry>& entries);

// One record of a CSV text and the line it starts on (1-based).
struct CsvRecord {
  int line = 0;
  std::vector<std::string> fields;
};

// Something wrong with the record or row starting at `line`.
struct CsvProblem {
  int line = 0;
  std::string reason;
  bool operator==(const CsvProblem&) const = default;
};

// Splits UTF-8 CSV text into records: fields separated by commas, records by CR LF, LF or CR;
// a quoted field may hold commas, line breaks (kept as they are) and doubled quotes. Empty
// lines are skipped. A record that breaks the quoting rules becomes a problem and reading
// goes on at the next line; an unclosed quote ends the reading.
void ReadCsvRecords(std::string_view text, std::vector<CsvRecord>& records,
                    std::vector<CsvProblem>& problems);

struct ImportResult {
  int added = 0;
  std::vector<CsvProblem> problems;  // by line
};

// Adds the rows of a CSV file in WriteCsv's columns to `years`, each row checked as the input
// dialog checks its input, against the tree as the rows before it left it. The header row is
// required and the byte order mark optional; a file without one that is not UTF-8 is read as
// code page 932, which spreadsheets on Japanese Windows write by default.
//
// Every bad row is reported with its line number and reason. When there is any, `years` holds
// only some of the rows: throw it away, as the import command does, so nothing changes.
ImportResult ImportCsv(std::string_view bytes, YearDatas& years);

}  // namespace orv::tool
