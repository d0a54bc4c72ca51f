#include "dialogs/series_dialog.hpp"

#include <cctype>

#include "dialogs/dialog_texts.hpp"

namespace orv {
namespace {

// Full-width digits, slash, hyphen, full stop and the ideographic space become their ASCII forms: a
// Japanese input method types dates and counts that way as readily as in ASCII.
std::string Narrowed(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    if (i + 2 < text.size() && byte(i) == 0xEF && byte(i + 1) == 0xBC && byte(i + 2) >= 0x8D && byte(i + 2) <= 0x99) {
      const unsigned char c = byte(i + 2);
      out += c == 0x8D ? '-' : c == 0x8E ? '.' : c == 0x8F ? '/' : static_cast<char>('0' + (c - 0x90));
      i += 2;
    } else if (i + 2 < text.size() && byte(i) == 0xE3 && byte(i + 1) == 0x80 && byte(i + 2) == 0x80) {
      out += ' ';
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Reads 1..`max_digits` digits at the front of `text`.
std::optional<int> TakeNumber(std::string_view& text, std::size_t max_digits) {
  std::size_t n = 0;
  int value = 0;
  while (n < text.size() && n < max_digits + 1 && std::isdigit(static_cast<unsigned char>(text[n]))) {
    value = value * 10 + (text[n] - '0');
    ++n;
  }
  if (n == 0 || n > max_digits) return std::nullopt;
  text.remove_prefix(n);
  return value;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// The years a date box accepts; the series itself says which of them the calendar can hold.
constexpr int kFirstYear = 1, kLastYear = 9999;
constexpr std::size_t kPreviewShown = 5;

}  // namespace

std::optional<int> ParseCountText(std::string_view text) {
  const std::string narrowed = Narrowed(text);
  std::string_view rest = Trimmed(narrowed);
  const auto value = TakeNumber(rest, 5);
  if (!value || !rest.empty()) return std::nullopt;
  return value;
}

std::optional<Date> ParseDateText(std::string_view text) {
  const std::string narrowed = Narrowed(text);
  std::string_view rest = Trimmed(narrowed);
  const auto year = TakeNumber(rest, 4);
  if (!year) return std::nullopt;
  // "年" and "月", or one of "/", "-", "." twice.
  const bool kanji = TakePrefix(rest, "年");
  std::string_view separator = "月";
  if (!kanji) {
    if (rest.empty() || (rest.front() != '/' && rest.front() != '-' && rest.front() != '.')) return std::nullopt;
    separator = rest.substr(0, 1);
    rest.remove_prefix(1);
  }
  const auto month = TakeNumber(rest, 2);
  if (!month || !TakePrefix(rest, separator)) return std::nullopt;
  const auto day = TakeNumber(rest, 2);
  if (!day) return std::nullopt;
  if (kanji) TakePrefix(rest, "日");
  if (!rest.empty() || *year < kFirstYear || *year > kLastYear || *month < 1 || *month > 12 || *day < 1)
    return std::nullopt;
  const std::chrono::year_month_day ymd{std::chrono::year{*year}, std::chrono::month{static_cast<unsigned>(*month)},
                                        std::chrono::day{static_cast<unsigned>(*day)}};
  if (!ymd.ok()) return std::nullopt;
  return Date(ymd);
}

std::string DateText(Date date) {
  const DateParts parts = SplitDate(date);
  return std::to_string(parts.Year) + "/" + std::to_string(parts.Month) + "/" + std::to_string(parts.Day);
}

SeriesRule DefaultSeriesRule(const NewEntry& entry, Date start) {
  SeriesRule rule;
  rule.entry = entry;
  rule.start = start;
  rule.shift = DefaultShift(entry.kind);
  return rule;
}

SeriesForm FormOfRule(const SeriesRule& rule) {
  SeriesForm form;
  form.every = std::to_string(rule.every);
  form.unit = rule.unit;
  form.last_day = rule.last_day;
  form.end = rule.end;
  form.count = std::to_string(rule.end == SeriesEnd::kAfterCount ? rule.count : 12);
  const std::chrono::year_month_day start{rule.start};
  std::chrono::year_month_day a_year_on = start + std::chrono::years{1};
  if (!a_year_on.ok()) a_year_on = a_year_on.year() / a_year_on.month() / std::chrono::last;  // 29 February
  form.until = DateText(rule.end == SeriesEnd::kOnOrBefore ? rule.until : Date(a_year_on));
  form.shift = IsPaymentKind(rule.entry.kind) ? rule.shift : SeriesShift::kNone;
  return form;
}

SeriesFormRead ReadSeriesForm(const SeriesForm& form, const SeriesRule& base) {
  SeriesRule rule = base;
  const auto every = ParseCountText(form.every);
  if (!every || *every < 1 || *every > 99) return {std::nullopt, texts::kSeriesEveryInvalid};
  rule.every = *every;
  rule.unit = form.unit;
  rule.last_day = form.unit == SeriesUnit::kMonth && form.last_day;
  rule.end = form.end;
  rule.count = 0;
  rule.until = Date{};
  if (form.end == SeriesEnd::kAfterCount) {
    const auto count = ParseCountText(form.count);
    if (!count || *count < 1) return {std::nullopt, texts::kSeriesCountInvalid};
    rule.count = *count;
  } else if (form.end == SeriesEnd::kOnOrBefore) {
    const auto until = ParseDateText(form.until);
    if (!until) return {std::nullopt, texts::kSeriesUntilInvalid};
    rule.until = *until;
  }
  rule.shift = IsPaymentKind(base.entry.kind) ? form.shift : SeriesShift::kNone;
  return {rule, {}};
}

std::string SeriesFormPreview(const SeriesForm& form, const SeriesRule& base, const YearDatas& years, Date today) {
  const SeriesFormRead read = ReadSeriesForm(form, base);
  if (!read.rule) return read.error;
  const SeriesRule& rule = *read.rule;
  const SeriesCheck check = CheckNewSeries(years, rule, today);
  if (!check.Accepted()) return SeriesRefusalText(check);
  std::string text = SeriesPreview(rule, kPreviewShown) + "\r\n";
  if (rule.end == SeriesEnd::kNever) {
    text += std::to_string(kSeriesHorizonMonths) + "か月先までに" + std::to_string(check.occurrences) +
            "回（その先も続けて追加されます）";
  } else {
    // The whole series, also where only its first part is written now.
    const Date through = rule.end == SeriesEnd::kOnOrBefore ? rule.until : Date(std::chrono::year{kLastYear} / 12 / 31);
    text += "全" + std::to_string(ExpandRule(rule, through, kMaxSeriesOccurrences + 1).size()) + "回";
  }
  return text;
}

std::string RepeatButtonText(const std::optional<SeriesRule>& rule) {
  return std::string(texts::kRepeatButton) + ": " + (rule ? SeriesRuleText(*rule) : std::string(texts::kRepeatNone));
}

std::string SeriesDialogModel::Preview(const SeriesForm& form) const {
  return SeriesFormPreview(form, base_, years_, today_);
}

bool SeriesDialogModel::OnOK(const SeriesForm& form) {
  const SeriesFormRead read = ReadSeriesForm(form, base_);
  std::string refusal = read.error;
  if (read.rule) {
    // What the entry's own texts or the days' totals say is for the input dialog's OK, which
    // has the final texts; a rule that can never be added is refused here.
    const SeriesCheck check = CheckNewSeries(years_, *read.rule, today_);
    if (!check.Accepted() && check.refusal != SeriesRefusal::kEntryRefused) refusal = SeriesRefusalText(check);
  }
  if (!refusal.empty()) {
    prompts_.Message(MessageIcon::Information, MessageButtons::Ok, texts::kInvalidInputTitle, refusal);
    return false;
  }
  form_ = form;
  result_ = read.rule;
  return true;
}

}  // namespace orv
