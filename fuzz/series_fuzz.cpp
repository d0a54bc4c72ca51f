// The companion file's reader on arbitrary bytes (the file travels through synced folders and
// may be edited by hand): no crash, no undefined behaviour, and whatever it accepts writes
// back to a text that reads to the same book and writes to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "series/series.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto book = orv::ReadSeriesText(text);
  if (!book) return 0;
  const std::string once = orv::WriteSeriesText(*book);
  const auto again = orv::ReadSeriesText(once);
  if (!again || *again != *book) std::abort();
  if (orv::WriteSeriesText(*again) != once) std::abort();
  // A book that reads is one the program can work with.
  for (const orv::Series& series : book->series) {
    (void)orv::SeriesRuleText(series.rule);
    (void)orv::SeriesPreview(series.rule, 5);
    (void)orv::NextOccurrence(series, orv::MakeDate(2026, 12, 8));
  }
  return 0;
}
