#include "tools/orvtool/series_command.hpp"

#include <charconv>
#include <map>
#include <optional>

#include "dialogs/dialog_texts.hpp"
#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"
#include "tools/orvtool/csv_exchange.hpp"
#include "tools/orvtool/exchange_command.hpp"
#include "tools/orvtool/exit_codes.hpp"
#include "tools/orvtool/schedule_entries.hpp"

namespace orv::tool {
namespace {

const char kSeriesUsage[] =
    "usage: orvtool series add FILE.ORV --kind automatic|cash|very-special|special --name TEXT\n"
    "                          [--amount N | --comment TEXT] --start YYYY-MM-DD --every N\n"
    "                          --unit week|month|year [--last-day]\n"
    "                          [--count N | --until YYYY-MM-DD] [--shift none|previous|next]\n"
    "       orvtool series list FILE.ORV\n"
    "       orvtool series delete FILE.ORV ID [--from YYYY-MM-DD]\n";

// The words after the file: "--flag value" pairs and bare flags; a word given twice is a
// usage error.
struct Options {
  std::map<std::string, std::string> values;
  std::vector<std::string> plain;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& words, std::size_t from,
                                    const std::vector<std::string>& with_value,
                                    const std::vector<std::string>& bare) {
  Options options;
  for (std::size_t i = from; i < words.size(); ++i) {
    const std::string& word = words[i];
    const bool takes_value = std::find(with_value.begin(), with_value.end(), word) != with_value.end();
    const bool is_bare = std::find(bare.begin(), bare.end(), word) != bare.end();
    if (takes_value || is_bare) {
      if (options.values.contains(word) || (takes_value && i + 1 == words.size())) return std::nullopt;
      options.values[word] = takes_value ? words[++i] : std::string();
    } else if (word.size() > 1 && word[0] == '-') {
      return std::nullopt;
    } else {
      options.plain.push_back(word);
    }
  }
  return options;
}

template <typename Int>
std::optional<Int> WholeNumber(const std::string& text) {
  Int value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<Date> DateArgument(const std::string& flag, const std::string& text, std::string& err) {
  const auto ymd = ParseDate(text);
  if (!ymd) {
    err += "orvtool: " + flag + " \"" + text + "\" is not written as YYYY-MM-DD\n";
    return std::nullopt;
  }
  if (!ymd->ok()) {
    err += "orvtool: " + flag + " \"" + text + "\" is not a day of the calendar\n";
    return std::nullopt;
  }
  return Date{*ymd};
}

// Message box texts break lines with CR LF; a terminal wants LF.
std::string TerminalText(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
  return text;
}

struct Files {
  YearDatas years;
  DefaultUserListArray lists;
  SeriesBook book;
};

// Loads the data file (a missing one is new and empty when `may_be_new`) and its series.
bool Load(const std::string& path, bool may_be_new, Files& files, std::string& err) {
  if (!(may_be_new && !FileExists(path))) {
    if (auto error = sfLoadUserData(path, files.years, files.lists); !error.empty()) {
      err += "orvtool: " + path + ": " + ReadableErrorText(error) + "\n";
      return false;
    }
  }
  std::optional<SeriesBook> book;
  if (!LoadSeriesCompanion(path, book, err, "nothing was changed")) return false;
  if (book) files.book = std::move(*book);
  return true;
}

// The data file first: should the series file then fail, the entries are there as plain ones.
bool Save(const std::string& path, const Files& files, std::string& err) {
  if (auto error = sfSaveUserData(path, files.years, files.lists); !error.empty()) {
    err += "orvtool: " + path + ": " + ReadableErrorText(error) + "\n";
    return false;
  }
  const std::string series_path = SeriesFilePath(path);
  if (SystemError error = ReplaceFileContents(series_path, WriteSeriesText(files.book))) {
    err += "orvtool: " + series_path + ": " + error.description + "\n";
    return false;
  }
  return true;
}

// The entry on one line: a tab or line break inside its texts becomes a space.
std::string EntryText(const NewEntry& entry) {
  const std::string kind = texts::kKinds[static_cast<std::size_t>(entry.kind)].list_comment;
  std::string text = IsPaymentKind(entry.kind)
                         ? entry.name + " " + GroupedAmount(entry.amount) + "円 (" + kind + ")"
                         : entry.name + (entry.comment.empty() ? "" : " " + entry.comment) + " (" + kind + ")";
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return text;
}

int Add(const std::vector<std::string>& args, Date today, std::string& out, std::string& err) {
  const auto options = ParseOptions(args, 1,
                                    {"--kind", "--name", "--amount", "--comment", "--start", "--every",
                                     "--unit", "--count", "--until", "--shift"},
                                    {"--last-day"});
  if (!options || !options->plain.empty()) {
    err += kSeriesUsage;
    return kUsage;
  }
  const auto& v = options->values;
  auto given = [&](const char* flag) { return v.contains(flag); };
  static const std::map<std::string, int> kKinds{
      {"automatic", kAutomaticTransfers}, {"cash", kCashPayments},
      {"very-special", kVerySpecialDays}, {"special", kSpecialDays}};
  static const std::map<std::string, SeriesUnit> kUnits{
      {"week", SeriesUnit::kWeek}, {"month", SeriesUnit::kMonth}, {"year", SeriesUnit::kYear}};
  static const std::map<std::string, SeriesShift> kShifts{
      {"none", SeriesShift::kNone}, {"previous", SeriesShift::kPrevious}, {"next", SeriesShift::kNext}};
  if (!given("--kind") || !given("--name") || !given("--start") || !given("--every") ||
      !given("--unit") || (given("--count") && given("--until")) || !kKinds.contains(v.at("--kind")) ||
      !kUnits.contains(v.at("--unit")) || (given("--shift") && !kShifts.contains(v.at("--shift")))) {
    err += kSeriesUsage;
    return kUsage;
  }
  SeriesRule rule;
  rule.entry.kind = kKinds.at(v.at("--kind"));
  rule.entry.name = v.at("--name");
  const bool payment = IsPaymentKind(rule.entry.kind);
  if (payment ? !given("--amount") || given("--comment") : given("--amount")) {
    err += "orvtool: " + std::string(payment ? "payments take --amount (and no --comment)"
                                             : "special days take --comment, not --amount") + "\n";
    return kUsage;
  }
  if (payment) {
    const auto amount = WholeNumber<std::int32_t>(v.at("--amount"));
    if (!amount) {
      err += "orvtool: --amount \"" + v.at("--amount") + "\" is not a whole number of yen from "
             "-2147483648 to 2147483647\n";
      return kUsage;
    }
    rule.entry.amount = *amount;
  } else if (given("--comment")) {
    rule.entry.comment = v.at("--comment");
  }
  const auto start = DateArgument("--start", v.at("--start"), err);
  if (!start) return kUsage;
  rule.start = *start;
  const auto every = WholeNumber<int>(v.at("--every"));
  if (!every) {
    err += "orvtool: --every \"" + v.at("--every") + "\" is not a whole number\n";
    return kUsage;
  }
  rule.every = *every;
  rule.unit = kUnits.at(v.at("--unit"));
  rule.last_day = given("--last-day");
  if (rule.last_day && rule.unit != SeriesUnit::kMonth) {
    err += "orvtool: --last-day goes with --unit month\n";
    return kUsage;
  }
  if (given("--count")) {
    const auto count = WholeNumber<int>(v.at("--count"));
    if (!count) {
      err += "orvtool: --count \"" + v.at("--count") + "\" is not a whole number\n";
      return kUsage;
    }
    rule.end = SeriesEnd::kAfterCount;
    rule.count = *count;
  } else if (given("--until")) {
    const auto until = DateArgument("--until", v.at("--until"), err);
    if (!until) return kUsage;
    rule.end = SeriesEnd::kOnOrBefore;
    rule.until = *until;
  }
  rule.shift = given("--shift") ? kShifts.at(v.at("--shift")) : DefaultShift(rule.entry.kind);
  if (rule.shift != SeriesShift::kNone && !payment) {
    err += "orvtool: --shift applies to payments only\n";
    return kUsage;
  }

  const std::string& path = args[0];
  Files files;
  if (!Load(path, true, files, err)) return kFailed;
  const SeriesCheck check = CheckNewSeries(files.years, rule, today);
  if (!check.Accepted()) {
    err += "orvtool: " + TerminalText(SeriesRefusalText(check)) + "\n" + "orvtool: nothing added; " +
           path + " is unchanged\n";
    return kFailed;
  }
  const std::uint32_t id = AddSeries(files.years, files.book, rule, today);
  if (!Save(path, files, err)) return kFailed;
  out += std::to_string(id) + "\n";
  return kOk;
}

int List(const std::vector<std::string>& args, Date today, std::string& out, std::string& err) {
  if (args.size() != 1) {
    err += kSeriesUsage;
    return kUsage;
  }
  Files files;
  if (!Load(args[0], false, files, err)) return kFailed;
  for (const Series& series : files.book.series) {
    const auto next = NextOccurrence(series, today);
    out += std::to_string(series.id) + "\t" + SeriesRuleText(series.rule) + "\t" +
           (next ? IsoDate(SplitDate(next->due)) : std::string("-")) + "\t" +
           EntryText(series.rule.entry) + "\n";
  }
  return kOk;
}

int Delete(const std::vector<std::string>& args, std::string& out, std::string& err) {
  const auto options = ParseOptions(args, 1, {"--from"}, {});
  if (!options || options->plain.size() != 1) {
    err += kSeriesUsage;
    return kUsage;
  }
  const auto id = WholeNumber<std::uint32_t>(options->plain[0]);
  if (!id) {
    err += "orvtool: \"" + options->plain[0] + "\" is not a series id\n";
    return kUsage;
  }
  std::optional<Date> from;
  if (options->values.contains("--from")) {
    from = DateArgument("--from", options->values.at("--from"), err);
    if (!from) return kUsage;
  }
  const std::string& path = args[0];
  Files files;
  if (!Load(path, false, files, err)) return kFailed;
  const Series* series = files.book.Find(*id);
  if (!series) {
    err += "orvtool: " + SeriesFilePath(path) + ": there is no series " + std::to_string(*id) + "\n";
    return kFailed;
  }
  const std::size_t removed =
      from ? DeleteFromSeries(files.years, files.book, *id, *from, SeriesDeleteScope::kThisAndLater)
           : DeleteFromSeries(files.years, files.book, *id, series->rule.start, SeriesDeleteScope::kWholeSeries);
  if (!Save(path, files, err)) return kFailed;
  const bool whole = !files.book.Find(*id);
  out += path + ": " + (whole ? "series " + std::to_string(*id) + " deleted, "
                              : "series " + std::to_string(*id) + " ends before " + IsoDate(SplitDate(*from)) + ", ") +
         std::to_string(removed) + (removed == 1 ? " entry" : " entries") + " removed\n";
  return kOk;
}

}  // namespace

int RunSeriesCommand(const std::vector<std::string>& args, Date today, std::string& out,
                     std::string& err) {
  if (args.size() < 2 || args[1].starts_with("-")) {
    err += kSeriesUsage;
    return kUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "add") return Add(rest, today, out, err);
  if (args[0] == "list") return List(rest, today, out, err);
  if (args[0] == "delete") return Delete(rest, out, err);
  err += kSeriesUsage;
  return kUsage;
}

bool LoadSeriesCompanion(const std::string& data_path, std::optional<SeriesBook>& book, std::string& err,
                         std::string_view consequence) {
  book.reset();
  const std::string series_path = SeriesFilePath(data_path);
  if (!FileExists(series_path)) return true;
  std::string text;
  if (SystemError error = ReadWholeFile(series_path, text)) {
    err += "orvtool: " + series_path + ": " + error.description + "\n";
    return false;
  }
  book = ReadSeriesText(text);
  if (!book) {
    err += "orvtool: " + series_path + ": the series file is damaged; " + std::string(consequence) + "\n";
    return false;
  }
  return true;
}

}  // namespace orv::tool
