// The CSV import on arbitrary bytes (a spreadsheet is input from outside): no crash, no
// undefined behaviour, and whatever it accepts exports to a CSV that imports to the same
// schedule and exports to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/orvtool/csv_exchange.hpp"

namespace {

std::string Exported(const orv::YearDatas& years) {
  std::vector<orv::tool::DatedEntry> entries;
  if (!orv::tool::ListScheduleEntries(years, entries).empty()) std::abort();  // imported rows are real days
  return orv::tool::WriteCsv(entries);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<orv::tool::CsvRecord> records;
  std::vector<orv::tool::CsvProblem> problems;
  orv::tool::ReadCsvRecords(bytes, records, problems);

  orv::YearDatas years;
  const orv::tool::ImportResult result = orv::tool::ImportCsv(bytes, years);
  if (!result.problems.empty()) return 0;
  const std::string once = Exported(years);
  orv::YearDatas again;
  const orv::tool::ImportResult second = orv::tool::ImportCsv(once, again);
  if (!second.problems.empty() || second.added != result.added) std::abort();
  if (Exported(again) != once) std::abort();
  return 0;
}
