// orvtool: inspect, check and build user data files from the command line.
//   orvtool dump FILE.ORV           print the schedule and preset lists as JSON
//   orvtool build FILE.json OUT.ORV write a user data file from such JSON
//   orvtool check FILE.ORV          say whether the file loads (exit 1 when it does not)
//   orvtool theme [--twips N | --dpi N] FILE.INI  load a theme file and print it as JSON
//   orvtool export --format ics|csv FILE.ORV [-o OUT]  the schedule for other programs
//   orvtool import --format csv FILE.ORV IN.csv        add CSV rows to the schedule
//   orvtool holidays [--from YEAR] [--to YEAR]         Japan's holidays, one a line
//   orvtool business-day DATE --next|--previous        the bank business day on or after/before
//   orvtool merge [BASE.ORV] OURS.ORV THEIRS.ORV -o OUT.ORV  merge schedules entry by entry
//   orvtool series add|list|delete FILE.ORV ...       repeating entries
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"
#include "tools/orvtool/exchange_command.hpp"
#include "tools/orvtool/holiday_command.hpp"
#include "tools/orvtool/merge_command.hpp"
#include "tools/orvtool/series_command.hpp"
#include "tools/orvtool/theme_command.hpp"
#include "tools/orvtool/user_data_json.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wic_picture_loader.hpp"
#include "platform/win32/wide.hpp"
#endif

namespace {

constexpr int kOk = 0;
constexpr int kBadFile = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage:\n"
    "  orvtool dump FILE.ORV            print the schedule and preset lists as JSON\n"
    "  orvtool build FILE.json OUT.ORV  write a user data file from that JSON\n"
    "  orvtool check FILE.ORV           tell whether the file loads\n"
    "  orvtool theme [--twips N | --dpi N] FILE.INI  load a theme file and print it as JSON\n"
    "  orvtool export --format ics|csv FILE.ORV [-o OUT]\n"
    "                                   the schedule as iCalendar or CSV (UTF-8)\n"
    "  orvtool import --format csv FILE.ORV IN.csv\n"
    "                                   add the rows of such a CSV file; all or none\n"
    "  orvtool holidays [--from YEAR] [--to YEAR]\n"
    "                                   Japan's holidays as YYYY-MM-DD,name (default: this year)\n"
    "  orvtool business-day DATE --next|--previous\n"
    "                                   DATE if banks are open then, else the next (previous) such day\n"
    "  orvtool merge BASE.ORV OURS.ORV THEIRS.ORV -o OUT.ORV\n"
    "                                   what either side added or deleted since BASE\n"
    "  orvtool merge OURS.ORV THEIRS.ORV -o OUT.ORV\n"
    "                                   every entry of both (no base)\n"
    "  orvtool series add FILE.ORV --kind automatic|cash|very-special|special --name TEXT\n"
    "                     [--amount N | --comment TEXT] --start YYYY-MM-DD --every N\n"
    "                     --unit week|month|year [--last-day] [--count N | --until YYYY-MM-DD]\n"
    "                     [--shift none|previous|next]\n"
    "                                   add a repeating entry (all occurrences or none); prints its id\n"
    "  orvtool series list FILE.ORV     the series: id, rule, next occurrence, entry (tab separated)\n"
    "  orvtool series delete FILE.ORV ID [--from YYYY-MM-DD]\n"
    "                                   remove a series (or its occurrences from a date) and its entries\n";

using orv::tool::ReadableErrorText;

void Print(std::FILE* to, const std::string& text) { std::fwrite(text.data(), 1, text.size(), to); }

int Dump(const std::string& path) {
  orv::YearDatas years;
  orv::DefaultUserListArray lists;
  if (auto error = orv::sfLoadUserData(path, years, lists); !error.empty()) {
    Print(stderr, "orvtool: " + path + ": " + ReadableErrorText(error) + "\n");
    return kBadFile;
  }
  Print(stdout, orv::tool::ScheduleToJson(years, lists).dump(2) + "\n");
  return kOk;
}

int Build(const std::string& json_path, const std::string& out_path) {
  std::string text;
  if (auto error = orv::ReadWholeFile(json_path, text)) {
    Print(stderr, "orvtool: " + json_path + ": " + error.description + "\n");
    return kBadFile;
  }
  auto json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded()) {
    Print(stderr, "orvtool: " + json_path + ": not valid JSON\n");
    return kBadFile;
  }
  orv::YearDatas years;
  orv::DefaultUserListArray lists;
  if (auto error = orv::tool::ScheduleFromJson(json, years, lists); !error.empty()) {
    Print(stderr, "orvtool: " + json_path + ": " + error + "\n");
    return kBadFile;
  }
  if (auto error = orv::sfSaveUserData(out_path, years, lists); !error.empty()) {
    Print(stderr, "orvtool: " + out_path + ": " + ReadableErrorText(error) + "\n");
    return kBadFile;
  }
  return kOk;
}

int Check(const std::string& path) {
  orv::YearDatas years;
  orv::DefaultUserListArray lists;
  if (auto error = orv::sfLoadUserData(path, years, lists); !error.empty()) {
    Print(stdout, path + ": does not load\n" + ReadableErrorText(error) + "\n");
    return kBadFile;
  }
  Print(stdout, path + ": loads (" + std::to_string(years.Count()) + " years)\n");
  return kOk;
}

// Pictures of themes: decoded by the system on Windows; elsewhere only their sizes are read.
std::unique_ptr<orv::PictureLoader> SystemPictureLoader() {
#ifdef _WIN32
  return std::make_unique<orv::WicPictureLoader>();
#else
  return std::make_unique<orv::PictureHeaderLoader>();
#endif
}

// Export, import and the holiday commands: their output is bytes (CR LF inside, or LF only),
// so standard output must not translate line ends.
int RunBytesCommand(const std::vector<std::string>& args) {
  std::string out, err;
  const std::vector<std::string> words(args.begin() + 2, args.end());
  int code = 0;
  if (args[1] == "export") code = orv::tool::RunExportCommand(words, out, err);
  else if (args[1] == "import") code = orv::tool::RunImportCommand(words, out, err);
  else if (args[1] == "holidays")
    code = orv::tool::RunHolidaysCommand(words, orv::SplitDate(orv::LocalToday()).Year, out, err);
  else code = orv::tool::RunBusinessDayCommand(words, out, err);
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  // A full disk or a closed pipe behind standard output is a failed export, not a success:
  // the write and the flush that ends it are both checked.
  errno = 0;
  const bool written = std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
  const bool flushed = std::fflush(stdout) == 0;
  if (!written || !flushed) {
    const int error = errno;
    err += std::string("orvtool: standard output: ") +
           (error != 0 ? std::strerror(error) : "the output could not be written") + "\n";
  }
  Print(stderr, err);
  return written && flushed ? code : kBadFile;
}

int RunMerge(const std::vector<std::string>& args) {
  std::string out, err;
  const int code = orv::tool::RunMergeCommand({args.begin() + 2, args.end()}, out, err);
  Print(stdout, out);
  Print(stderr, err);
  return code;
}

int RunSeries(const std::vector<std::string>& args) {
  std::string out, err;
  const int code =
      orv::tool::RunSeriesCommand({args.begin() + 2, args.end()}, orv::LocalToday(), out, err);
  Print(stdout, out);
  Print(stderr, err);
  return code;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() >= 2 && (args[1] == "export" || args[1] == "import" || args[1] == "holidays" ||
                           args[1] == "business-day"))
    return RunBytesCommand(args);
  if (args.size() >= 2 && args[1] == "merge") return RunMerge(args);
  if (args.size() >= 2 && args[1] == "series") return RunSeries(args);
  if (args.size() >= 2 && args[1] == "theme") {
    auto pictures = SystemPictureLoader();
    return orv::RunThemeCommand({args.begin() + 2, args.end()}, *pictures, std::cout, std::cerr);
  }
  if (args.size() == 3 && args[1] == "dump") return Dump(args[2]);
  if (args.size() == 3 && args[1] == "check") return Check(args[2]);
  if (args.size() == 4 && args[1] == "build") return Build(args[2], args[3]);
  if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
    Print(stdout, kUsageText);
    return kOk;
  }
  Print(stderr, kUsageText);
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  // Arguments as UTF-8 whatever the console's code page; output is UTF-8 too.
  (void)argc;
  (void)argv;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 0; i < count; ++i) args.push_back(orv::WideToUtf8(wide[i]));
    LocalFree(wide);
  }
  SetConsoleOutputCP(CP_UTF8);
#else
  args.assign(argv, argv + argc);
#endif
  try {
    return Run(args);
  } catch (const std::exception& error) {
    Print(stderr, std::string("orvtool: ") + error.what() + "\n");
    return kBadFile;
  }
}
