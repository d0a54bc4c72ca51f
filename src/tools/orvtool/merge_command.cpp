#include "tools/orvtool/merge_command.hpp"

#include <algorithm>
#include <optional>

#include "platform/file_system.hpp"

#include "schedule/backups.hpp"
#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"
#include "tools/orvtool/exchange_command.hpp"
#include "tools/orvtool/exit_codes.hpp"
#include "tools/orvtool/series_command.hpp"

namespace orv::tool {
namespace {

const char kMergeUsage[] =
    "usage: orvtool merge BASE.ORV OURS.ORV THEIRS.ORV -o OUT.ORV\n"
    "       orvtool merge OURS.ORV THEIRS.ORV -o OUT.ORV   (no base: every entry of both)\n";

struct Loaded {
  YearDatas Years;
  DefaultUserListArray Lists;
  SeriesBook Book;
  bool HasBook = false;
  ScheduleView View() const { return {Years, Lists}; }
};

// The companion beside `path`, if any; false (with the reason on `err`) when it does not read.
bool LoadBook(const std::string& path, Loaded& loaded, std::string& err) {
  std::optional<SeriesBook> book;
  if (!LoadSeriesCompanion(path, book, err, "nothing was written")) return false;
  loaded.HasBook = book.has_value();
  if (book) loaded.Book = std::move(*book);
  return true;
}

std::string Count(std::int64_t n) { return std::to_string(n) + (n == 1 ? " entry" : " entries"); }

}  // namespace

int RunMergeCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::vector<std::string> files;
  std::optional<std::string> output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size() && !output) {
      output = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      err += kMergeUsage;
      return kUsage;
    } else {
      files.push_back(args[i]);
    }
  }
  if (!output || files.size() < 2 || files.size() > 3) {
    err += kMergeUsage;
    return kUsage;
  }
  std::vector<Loaded> loaded(files.size());
  bool failed = false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (auto error = sfLoadUserData(files[i], loaded[i].Years, loaded[i].Lists); !error.empty()) {
      err += "orvtool: " + files[i] + ": " + ReadableErrorText(error) + "\n";
      failed = true;
    }
    if (!LoadBook(files[i], loaded[i], err)) failed = true;
  }
  if (failed) return kFailed;
  const bool three_way = files.size() == 3;
  const Loaded& ours = loaded[three_way ? 1 : 0];
  const Loaded& theirs = loaded[three_way ? 2 : 1];
  const MergeResult merged = three_way ? MergeSchedules(loaded[0].View(), ours.View(), theirs.View())
                                       : UnionSchedules(ours.View(), theirs.View());
  if (auto error = sfSaveUserData(*output, merged.Years, merged.Lists); !error.empty()) {
    err += "orvtool: " + *output + ": " + ReadableErrorText(error) + "\n";
    return kFailed;
  }
  // The data file first: should the companion then fail, the entries are there as plain ones.
  std::optional<SeriesBook> book;
  if (std::any_of(loaded.begin(), loaded.end(), [](const Loaded& l) { return l.HasBook; }))
    book = three_way ? MergeSeriesBooks(loaded[0].Book, ours.Book, theirs.Book) : UnionSeriesBooks(ours.Book, theirs.Book);
  if (book) {
    if (SystemError error = ReplaceFileContents(SeriesFilePath(*output), WriteSeriesText(*book))) {
      err += "orvtool: " + SeriesFilePath(*output) + ": " + error.description + "\n";
      return kFailed;
    }
  }
  // What the merge changed against each side, so a script sees at a glance what came from where.
  const ScheduleView result{merged.Years, merged.Lists};
  const ScheduleChanges from_ours = DiffSchedules(theirs.View(), result);
  out += *output + ": " + Count(CountEntries(merged.Years)) + "\n";
  out += "  from " + files[three_way ? 2 : 1] + ": " + std::to_string(merged.FromTheirs.AddedEntries()) +
         " added, " + std::to_string(merged.FromTheirs.RemovedEntries()) + " removed\n";
  out += "  from " + files[three_way ? 1 : 0] + ": " + std::to_string(from_ours.AddedEntries()) + " added, " +
         std::to_string(from_ours.RemovedEntries()) + " removed\n";
  if (book) out += SeriesFilePath(*output) + ": " + std::to_string(book->series.size()) + " series\n";
  return kOk;
}

}  // namespace orv::tool
