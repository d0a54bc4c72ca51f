#include "reminders/reminders.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "core/settings.hpp"

namespace orv {
namespace {

using std::chrono::days;

constexpr std::string_view kRecordSection = "Run";
constexpr std::string_view kLookKey = "RemindedOn";
constexpr std::string_view kShownKey = "Reminded";

std::string Two(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string IsoDate(Date date) {
  const DateParts p = SplitDate(date);
  return std::to_string(p.Year) + "-" + Two(p.Month) + "-" + Two(p.Day);
}

// "2026-12-10" at the start of `text`; nullopt for anything else.
std::optional<Date> ParseIsoDate(std::string_view text) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int parts[3] = {};
  const std::size_t at[3][2] = {{0, 4}, {5, 7}, {8, 10}};
  for (int i = 0; i < 3; ++i) {
    const char* first = text.data() + at[i][0];
    const char* last = text.data() + at[i][1];
    const auto [end, error] = std::from_chars(first, last, parts[i]);
    if (error != std::errc{} || end != last) return std::nullopt;
  }
  const std::chrono::year_month_day ymd{std::chrono::year{parts[0]}, std::chrono::month{static_cast<unsigned>(parts[1])},
                                        std::chrono::day{static_cast<unsigned>(parts[2])}};
  if (!ymd.ok()) return std::nullopt;
  return Date{ymd};
}

// Names go into a line of tab-separated fields.
std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return text;
}

bool IsPayment(DueKind kind) { return kind == DueKind::AutomaticTransfer || kind == DueKind::Cash; }

}  // namespace

std::string Yen(std::int64_t amount) { return GroupedAmount(amount) + "円"; }

std::vector<DueEntry> EntriesBetween(const YearDatas& years, Date first, Date last, bool very_special, bool special) {
  std::vector<DueEntry> entries;
  for (Date date = first; date <= last; date += days{1}) {
    const DayData* day = FindDay(years, SplitDate(date));
    if (!day) continue;
    for (const PaymentData& payment : day->PaymentDatas)
      entries.push_back({date, payment.Payment == 1 ? DueKind::Cash : DueKind::AutomaticTransfer, payment.strTitle,
                         payment.lngPrice, {}});
    for (const SpecialData& entry : day->SpecialDatas) {
      if (entry.blnSpecial ? !very_special : !special) continue;
      entries.push_back({date, entry.blnSpecial ? DueKind::VerySpecial : DueKind::Special, entry.strSpecial, 0,
                         entry.strComment});
    }
  }
  return entries;
}

std::string ReminderIdentity(const DueEntry& entry) {
  return IsoDate(entry.date) + "\t" + std::to_string(static_cast<int>(entry.kind)) + "\t" + OneLine(entry.name) + "\t" +
         std::to_string(entry.amount);
}

ReminderRecord ReadReminderRecord(const SettingsStore& store) {
  ReminderRecord record;
  if (const auto look = ParseIsoDate(store.Get(kApplicationName, kRecordSection, kLookKey, ""))) record.last_look = *look;
  const std::string shown = store.Get(kApplicationName, kRecordSection, kShownKey, "");
  std::size_t start = 0;
  while (start < shown.size()) {
    std::size_t end = shown.find('\n', start);
    if (end == std::string::npos) end = shown.size();
    std::string line = shown.substr(start, end - start);
    if (ParseIsoDate(line)) record.shown.push_back(std::move(line));  // anything else is not ours
    start = end + 1;
  }
  return record;
}

void SaveReminderRecord(SettingsStore& store, const ReminderRecord& record) {
  std::string shown;
  for (const std::string& line : record.shown) shown += (shown.empty() ? "" : "\n") + line;
  store.Set(kApplicationName, kRecordSection, kLookKey, record.last_look == Date{} ? "" : IsoDate(record.last_look));
  store.Set(kApplicationName, kRecordSection, kShownKey, shown);
}

std::vector<DueEntry> TakeReminders(const YearDatas& years, Date today, const ReminderOptions& options,
                                    ReminderRecord& record) {
  if (!options.on) return {};
  const int ahead = std::clamp<std::int32_t>(options.days_ahead, 0, kMaxRemindDaysAhead);
  Date from = today;
  // After days off, what fell due meanwhile; a clock set back has nothing to catch up.
  if (record.last_look != Date{} && record.last_look < today)
    from = std::max(record.last_look + days{1}, today - days{kCatchUpDays});

  // The record is a multiset: two equal entries on one day are two reminders.
  std::map<std::string, int> already;
  for (const std::string& line : record.shown) ++already[line];
  std::vector<DueEntry> due;
  for (DueEntry& entry : EntriesBetween(years, from, today + days{ahead}, options.very_special)) {
    std::string identity = ReminderIdentity(entry);
    if (auto found = already.find(identity); found != already.end() && found->second > 0) {
      --found->second;
      continue;
    }
    record.shown.push_back(std::move(identity));
    due.push_back(std::move(entry));
  }
  const Date forget_before = today - days{kRemindedKeptDays};
  std::erase_if(record.shown, [forget_before](const std::string& line) {
    const auto date = ParseIsoDate(line);
    return !date || *date < forget_before;
  });
  record.last_look = today;
  return due;
}

std::string ShortDateText(Date date) {
  static constexpr std::array<const char*, 7> kWeekdays = {"日", "月", "火", "水", "木", "金", "土"};
  const DateParts p = SplitDate(date);
  return std::to_string(p.Month) + "月" + std::to_string(p.Day) + "日(" +
         kWeekdays[static_cast<std::size_t>(std::clamp<int>(p.Weekday, 1, 7) - 1)] + ")";
}

std::string DueEntryText(const DueEntry& entry) {
  switch (entry.kind) {
    case DueKind::AutomaticTransfer: return entry.name + " " + Yen(entry.amount) + " (自動振替)";
    case DueKind::Cash: return entry.name + " " + Yen(entry.amount) + " (現金)";
    case DueKind::VerySpecial:
    case DueKind::Special: {
      std::string text = entry.name + (entry.kind == DueKind::VerySpecial ? " (特に特別な日)" : " (特別な日)");
      if (!entry.comment.empty()) text += " " + entry.comment;
      return text;
    }
  }
  return entry.name;
}

bool AcceptsNotifications(int user_notification_state) {
  return user_notification_state < 1 || user_notification_state > 7 || user_notification_state == 5;
}

int Utf16Units(const std::string& text) {
  int units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    units += c >= 0xF0 ? 2 : 1;        // four-byte sequences need a surrogate pair
  }
  return units;
}

std::string ReminderText(const std::vector<DueEntry>& entries, int max_lines, int max_units) {
  struct Line {
    std::string text;
    int entries;  // 1 for an entry's line, 0 for a day's total
  };
  std::vector<Line> lines;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const DueEntry& entry = entries[i];
    lines.push_back({ShortDateText(entry.date) + " " + DueEntryText(entry), 1});
    const bool last_of_day = i + 1 == entries.size() || entries[i + 1].date != entry.date;
    if (!last_of_day) continue;
    int payments = 0;
    std::int64_t total = 0;
    for (std::size_t j = i + 1; j-- > 0 && entries[j].date == entry.date;)
      if (IsPayment(entries[j].kind)) {
        ++payments;
        total += entries[j].amount;
      }
    if (payments >= 2) lines.push_back({ShortDateText(entry.date) + " 合計 " + Yen(total), 0});
  }

  const int total_entries = static_cast<int>(entries.size());
  // The longest run of lines that fits, with the cut line after it when something is left.
  for (std::size_t keep = lines.size() + 1; keep-- > 0;) {
    std::string text;
    int kept_entries = 0;
    for (std::size_t i = 0; i < keep; ++i) {
      text += (i ? "\n" : "") + lines[i].text;
      kept_entries += lines[i].entries;
    }
    int used_lines = static_cast<int>(keep);
    if (kept_entries < total_entries) {
      text += std::string(keep ? "\n" : "") + "ほか " + std::to_string(total_entries - kept_entries) + " 件";
      ++used_lines;
    }
    if (used_lines <= std::max(1, max_lines) && Utf16Units(text) <= max_units) return text;
  }
  return "ほか " + std::to_string(total_entries) + " 件";
}

}  // namespace orv
