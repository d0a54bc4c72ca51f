#include "tools/orvtool/holiday_command.hpp"

#include <charconv>
#include <optional>

#include "holidays/japanese_holidays.hpp"
#include "tools/orvtool/csv_exchange.hpp"
#include "tools/orvtool/exit_codes.hpp"
#include "tools/orvtool/schedule_entries.hpp"

namespace orv::tool {
namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

std::optional<int> ParseYear(const std::string& text) {
  int year = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, year);
  if (error != std::errc{} || stop != end || year < kFirstYear || year > kLastYear) return std::nullopt;
  return year;
}

std::string Line(const Holiday& holiday) {
  return IsoDate(SplitDate(holiday.date)) + "," + std::string(holiday.name) + "\n";
}

}  // namespace

int RunHolidaysCommand(const std::vector<std::string>& args, int this_year, std::string& out,
                       std::string& err) {
  int from = this_year, to = this_year;
  bool from_given = false, to_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if ((word != "--from" && word != "--to") || i + 1 == args.size()) {
      err = "usage: orvtool holidays [--from YEAR] [--to YEAR]\n";
      return kUsage;
    }
    const std::string& value = args[++i];
    const std::optional<int> year = ParseYear(value);
    if (!year) {
      err = "orvtool: " + word + " \"" + value + "\" is not a year from 1 to 9999\n";
      return kUsage;
    }
    (word == "--from" ? from : to) = *year;
    (word == "--from" ? from_given : to_given) = true;
  }
  // One year given alone is also the other end, so "--from 2030" lists 2030.
  if (from_given && !to_given) to = std::max(from, this_year);
  if (to_given && !from_given) from = std::min(to, this_year);
  if (from > to) {
    err = "orvtool: --from " + std::to_string(from) + " comes after --to " + std::to_string(to) + "\n";
    return kUsage;
  }
  for (const Holiday& holiday : HolidaysOfYears(from, to)) out += Line(holiday);
  return kOk;
}

int RunBusinessDayCommand(const std::vector<std::string>& args, std::string& out, std::string& err) {
  const std::string usage = "usage: orvtool business-day DATE --next|--previous\n";
  std::optional<std::string> date_text;
  std::optional<bool> next;
  for (const std::string& word : args) {
    if (word == "--next" || word == "--previous") {
      if (next) {
        err = usage;
        return kUsage;
      }
      next = word == "--next";
    } else if (!date_text && !word.starts_with("--")) {
      date_text = word;
    } else {
      err = usage;
      return kUsage;
    }
  }
  if (!date_text || !next) {
    err = usage;
    return kUsage;
  }
  const auto ymd = ParseDate(*date_text);
  if (!ymd) {
    err = "orvtool: the date \"" + *date_text + "\" is not written as YYYY-MM-DD\n";
    return kUsage;
  }
  if (!ymd->ok()) {
    err = "orvtool: \"" + *date_text + "\" is not a day of the calendar\n";
    return kUsage;
  }
  const Date date{*ymd};
  out = IsoDate(SplitDate(*next ? NextBusinessDay(date) : PreviousBusinessDay(date))) + "\n";
  return kOk;
}

}  // namespace orv::tool
