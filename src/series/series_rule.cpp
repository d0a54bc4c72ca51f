// The rule of a series: where its occurrences fall, and the texts that describe it.
#include <algorithm>
#include <array>

#include "dialogs/dialog_texts.hpp"
#include "holidays/japanese_holidays.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"
#include "series/series_detail.hpp"

namespace orv {
namespace series_detail {

using namespace std::chrono;

bool InCalendar(Date date) {
  const int y = static_cast<int>(year_month_day{date}.year());
  return y >= kFirstYear && y <= kLastYear;
}

Date AddMonths(Date date, int months) {
  const year_month_day ymd{date};
  const year_month ym = year_month{ymd.year(), ymd.month()} + std::chrono::months{months};
  const day last = year_month_day_last{ym.year(), month_day_last{ym.month()}}.day();
  return sys_days{ym / std::min(ymd.day(), last)};
}

bool ValidRule(const SeriesRule& rule) {
  if (rule.every < 1 || rule.every > kMaxEvery || !InCalendar(rule.start)) return false;
  if (rule.end == SeriesEnd::kAfterCount && rule.count < 1) return false;
  if (rule.end == SeriesEnd::kOnOrBefore && !InCalendar(rule.until)) return false;
  return true;
}

std::optional<Date> NominalAt(const SeriesRule& rule, std::int64_t index) {
  const year_month_day start{rule.start};
  const std::int64_t step = index * rule.every;
  if (rule.unit == SeriesUnit::kWeek) {
    // Past the calendar's last year long before the day count could overflow.
    if (step > 600000) return std::nullopt;
    const Date date = rule.start + days{step * 7};
    if (!InCalendar(date)) return std::nullopt;
    return date;
  }
  std::int64_t months = static_cast<int>(start.year()) * std::int64_t{12} +
                        (static_cast<unsigned>(start.month()) - 1);
  months += rule.unit == SeriesUnit::kMonth ? step : step * 12;
  if (months / 12 > kLastYear) return std::nullopt;
  const year y{static_cast<int>(months / 12)};
  const month m{static_cast<unsigned>(months % 12) + 1};
  const day last = year_month_day_last{y, month_day_last{m}}.day();
  const bool month_end = rule.unit == SeriesUnit::kMonth && rule.last_day;
  return sys_days{y / m / (month_end ? last : std::min(start.day(), last))};
}

Date DueDate(const SeriesRule& rule, Date nominal) {
  if (!IsPaymentKind(rule.entry.kind) || rule.shift == SeriesShift::kNone) return nominal;
  const Date moved =
      rule.shift == SeriesShift::kNext ? NextBusinessDay(nominal) : PreviousBusinessDay(nominal);
  // A move out of the calendar's years has no day to land on: the entry stays where it falls.
  return InCalendar(moved) ? moved : nominal;
}

void ForEachOccurrence(const SeriesRule& rule, Date from, Date through,
                       const std::function<bool(const Occurrence&)>& visit) {
  if (!ValidRule(rule) || through < rule.start) return;
  // No drift: the index of an occurrence near `from` follows from the start alone, so a long
  // running series is not walked from its beginning.
  std::int64_t index = 0;
  if (from > rule.start) {
    const year_month_day a{rule.start}, b{from};
    std::int64_t units = 0;
    if (rule.unit == SeriesUnit::kWeek) {
      units = (from - rule.start).count() / 7;
    } else {
      units = (static_cast<int>(b.year()) - static_cast<int>(a.year())) * std::int64_t{12} +
              (static_cast<int>(static_cast<unsigned>(b.month())) -
               static_cast<int>(static_cast<unsigned>(a.month())));
      if (rule.unit == SeriesUnit::kYear) units /= 12;
    }
    index = std::max<std::int64_t>(0, units / rule.every - 1);
  }
  for (;; ++index) {
    if (rule.end == SeriesEnd::kAfterCount && index >= rule.count) return;
    const auto nominal = NominalAt(rule, index);
    if (!nominal || *nominal > through) return;
    if (rule.end == SeriesEnd::kOnOrBefore && *nominal > rule.until) return;
    if (*nominal < from) continue;
    if (!visit(Occurrence{*nominal, DueDate(rule, *nominal)})) return;
  }
}

Date HorizonEnd(const SeriesRule& rule, Date today) {
  // A series that starts later than today is written for as long ahead of its start.
  const Date from = std::max(today, rule.start);
  const Date end = AddMonths(from, kSeriesHorizonMonths);
  return InCalendar(end) ? end : MakeDate(kLastYear, 12, 31);
}

bool IsSkipped(const Series& series, Date nominal) {
  return std::binary_search(series.skipped.begin(), series.skipped.end(), nominal);
}

namespace {
constexpr std::array<const char*, 7> kShortWeekdays{"日", "月", "火", "水", "木", "金", "土"};
constexpr std::array<const char*, 7> kWeekdays{"日曜日", "月曜日", "火曜日", "水曜日",
                                               "木曜日", "金曜日", "土曜日"};
}  // namespace

std::string MonthDayText(Date date) {
  const DateParts p = SplitDate(date);
  return std::to_string(p.Month) + "月" + std::to_string(p.Day) + "日(" +
         kShortWeekdays[static_cast<std::size_t>(p.Weekday - 1)] + ")";
}

std::string FullDateText(Date date) {
  return std::to_string(SplitDate(date).Year) + "年" + MonthDayText(date);
}

}  // namespace series_detail

using namespace series_detail;

SeriesShift DefaultShift(int kind) {
  return kind == kAutomaticTransfers ? SeriesShift::kNext : SeriesShift::kNone;
}

SeriesRule NormalizedRule(SeriesRule rule) {
  if (IsPaymentKind(rule.entry.kind))
    rule.entry.comment.clear();
  else
    rule.entry.amount = 0;
  if (!IsPaymentKind(rule.entry.kind)) rule.shift = SeriesShift::kNone;
  if (rule.unit != SeriesUnit::kMonth) rule.last_day = false;
  if (rule.end != SeriesEnd::kAfterCount) rule.count = 0;
  if (rule.end != SeriesEnd::kOnOrBefore) rule.until = Date{};
  return rule;
}

std::vector<Occurrence> ExpandRule(const SeriesRule& rule, Date through, std::size_t limit) {
  std::vector<Occurrence> occurrences;
  if (limit == 0) return occurrences;
  ForEachOccurrence(rule, rule.start, through, [&](const Occurrence& o) {
    occurrences.push_back(o);
    return occurrences.size() < limit;
  });
  return occurrences;
}

std::optional<std::size_t> SeriesTotal(const SeriesRule& rule) {
  if (rule.end == SeriesEnd::kNever) return std::nullopt;
  return ExpandRule(rule, MakeDate(kLastYear, 12, 31), kMaxSeriesOccurrences + 1).size();
}

std::string SeriesPreview(const SeriesRule& rule, std::size_t shown) {
  const auto occurrences = ExpandRule(rule, MakeDate(kLastYear, 12, 31), shown + 1);
  std::string text;
  int first_year = 0;
  for (std::size_t i = 0; i < occurrences.size() && i < shown; ++i) {
    const Occurrence& o = occurrences[i];
    if (i == 0) first_year = SplitDate(o.nominal).Year;
    // The year is named only where it leaves the first occurrence's year.
    auto date_text = [&](Date d) {
      return SplitDate(d).Year == first_year ? MonthDayText(d) : FullDateText(d);
    };
    if (i > 0) text += "、";
    text += date_text(o.nominal);
    if (o.due != o.nominal) text += " → " + date_text(o.due);
  }
  if (occurrences.size() > shown) text += " …";
  return text;
}

std::string SeriesFrequencyText(const SeriesRule& rule) {
  static constexpr const char* kEveryOne[] = {"毎週", "毎月", "毎年"};
  const auto unit = static_cast<std::size_t>(rule.unit);
  return rule.every == 1 ? std::string(kEveryOne[unit]) : std::to_string(rule.every) + kSeriesUnitNames[unit];
}

std::string SeriesRuleText(const SeriesRule& rule) {
  const DateParts start = SplitDate(rule.start);
  std::string text = SeriesFrequencyText(rule);
  switch (rule.unit) {
    case SeriesUnit::kWeek:
      text += std::string(" ") + kWeekdays[static_cast<std::size_t>(start.Weekday - 1)];
      break;
    case SeriesUnit::kMonth:
      text += rule.last_day ? std::string(" 月末") : " " + std::to_string(start.Day) + "日";
      break;
    case SeriesUnit::kYear:
      text += " " + std::to_string(start.Month) + "月" + std::to_string(start.Day) + "日";
      break;
  }
  if (IsPaymentKind(rule.entry.kind) && rule.shift != SeriesShift::kNone)
    text += rule.shift == SeriesShift::kNext ? " 休日は翌営業日" : " 休日は前営業日";
  text += " " + FullDateText(rule.start) + "から";
  if (rule.end == SeriesEnd::kAfterCount) text += " " + std::to_string(rule.count) + "回";
  if (rule.end == SeriesEnd::kOnOrBefore) text += " " + FullDateText(rule.until) + "まで";
  return text;
}

std::string SeriesRefusalText(const SeriesCheck& check) {
  const std::string date = FullDateText(check.date);
  switch (check.refusal) {
    case SeriesRefusal::kNone: return {};
    case SeriesRefusal::kEndBeforeStart:
      return "繰り返しの終了日(" + date + ")が開始日より前になっているため、追加できません";
    case SeriesRefusal::kBadRule:
      return "繰り返しの内容が正しく入力されていません\r\n"
             "間隔は1～99、回数は1回以上、日付は1年～9999年の範囲で入力してください";
    case SeriesRefusal::kTooMany:
      return "繰り返しの回数が" + GroupedAmount(static_cast<std::int32_t>(kMaxSeriesOccurrences)) +
             "回を超える(" + date + "で" +
             GroupedAmount(static_cast<std::int32_t>(kMaxSeriesOccurrences + 1)) +
             "回目になる)ため、追加できません";
    case SeriesRefusal::kEntryRefused: break;
  }
  const std::string head = date + "の予定を追加できません\r\n";
  auto field = [&](int index) {
    const std::size_t kind = static_cast<std::size_t>(std::clamp(check.entry_kind, 0, 3));
    const std::string_view caption = texts::kKinds[kind].field_captions[index];
    return std::string(caption.substr(0, caption.find('(')));
  };
  switch (check.entry.refusal) {
    case EntryRefusal::kNone:
    case EntryRefusal::kMissingValue: return head + texts::kInvalidInputText;
    case EntryRefusal::kUnstorableName: return head + UnstorableTextMessage(field(0), check.entry.why);
    case EntryRefusal::kUnstorableComment:
      return head + UnstorableTextMessage(field(1), check.entry.why);
    case EntryRefusal::kTotalOutOfRange: return head + texts::kTotalOverflowText;
  }
  return head;
}

}  // namespace orv
