#include "tools/orvtool/exchange_command.hpp"

#include <optional>

#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"
#include "tools/orvtool/csv_exchange.hpp"
#include "tools/orvtool/exit_codes.hpp"
#include "tools/orvtool/icalendar_writer.hpp"
#include "tools/orvtool/schedule_entries.hpp"

namespace orv::tool {
namespace {

const char kExportUsage[] = "usage: orvtool export --format ics|csv FILE.ORV [-o OUT]\n";
const char kImportUsage[] = "usage: orvtool import --format csv FILE.ORV IN.csv\n";

struct Arguments {
  std::string format;
  std::optional<std::string> output;
  std::vector<std::string> files;
};

// --format X, --format=X and -o X in any place; every other word is a file.
std::optional<Arguments> Parse(const std::vector<std::string>& args, bool output_allowed) {
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word == "--format" || (word == "-o" && output_allowed)) {
      if (i + 1 >= args.size()) return std::nullopt;
      if (word == "-o")
        parsed.output = args[++i];
      else
        parsed.format = args[++i];
    } else if (word.rfind("--format=", 0) == 0) {
      parsed.format = word.substr(9);
    } else if (word.size() > 1 && word[0] == '-') {
      return std::nullopt;
    } else {
      parsed.files.push_back(word);
    }
  }
  return parsed;
}

bool Load(const std::string& path, YearDatas& years, DefaultUserListArray& lists,
          std::string& err) {
  if (auto error = sfLoadUserData(path, years, lists); !error.empty()) {
    err += "orvtool: " + path + ": " + ReadableErrorText(error) + "\n";
    return false;
  }
  return true;
}

}  // namespace

std::string ReadableErrorText(std::string error_text) {
  for (char& c : error_text)
    if (c == '\t') c = ' ';
  if (!error_text.empty() && error_text.back() == '\n') error_text.pop_back();
  return error_text;
}

int RunExportCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  const auto parsed = Parse(args, true);
  if (!parsed || parsed->files.size() != 1 ||
      (parsed->format != "ics" && parsed->format != "csv")) {
    err += kExportUsage;
    return kUsage;
  }
  const std::string& path = parsed->files[0];
  // Exporting over the schedule itself would leave the user with a calendar text and no data file.
  if (parsed->output && SameFile(*parsed->output, path)) {
    err += "orvtool: " + *parsed->output + ": is the data file being exported; choose another output file\n";
    return kUsage;
  }
  YearDatas years;
  DefaultUserListArray lists;
  if (!Load(path, years, lists, err)) return kFailed;
  std::vector<DatedEntry> entries;
  if (auto error = ListScheduleEntries(years, entries); !error.empty()) {
    err += "orvtool: " + path + ": " + error + "\n";
    return kFailed;
  }
  std::string bytes = parsed->format == "ics" ? WriteICalendar(entries, FileUidPart(ComparablePath(path)))
                                               : WriteCsv(entries);
  if (!parsed->output) {
    out = std::move(bytes);
    return kOk;
  }
  if (SystemError error = ReplaceFileContents(*parsed->output, bytes)) {
    err += "orvtool: " + *parsed->output + ": " + error.description + "\n";
    return kFailed;
  }
  return kOk;
}

int RunImportCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  const auto parsed = Parse(args, false);
  if (!parsed || parsed->files.size() != 2 || parsed->format != "csv") {
    err += kImportUsage;
    return kUsage;
  }
  const std::string& path = parsed->files[0];
  const std::string& csv_path = parsed->files[1];
  std::string csv;
  if (SystemError error = ReadWholeFile(csv_path, csv)) {
    err += "orvtool: " + csv_path + ": " + error.description + "\n";
    return kFailed;
  }
  YearDatas years;
  DefaultUserListArray lists;
  // A missing data file is a new, empty one; an existing one must load.
  const bool existed = FileExists(path);
  if (existed && !Load(path, years, lists, err)) return kFailed;

  const ImportResult result = ImportCsv(csv, years);
  if (!result.problems.empty()) {
    for (const auto& problem : result.problems)
      err += csv_path + ":" + std::to_string(problem.line) + ": " + problem.reason + "\n";
    err += "orvtool: nothing imported; " + path + " is unchanged\n";
    return kFailed;
  }
  if (auto error = sfSaveUserData(path, years, lists); !error.empty()) {
    err += "orvtool: " + path + ": " + ReadableErrorText(error) + "\n";
    return kFailed;
  }
  out += path + ": " + std::to_string(result.added) + (result.added == 1 ? " entry" : " entries") +
         " added" + (existed ? "" : " (new file)") + "\n";
  return kOk;
}

}  // namespace orv::tool
