#include "schedule/schedule_merge.hpp"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <unordered_map>

#include "core/safe.hpp"

namespace orv {
namespace {

// Content of an entry as one comparable text (the fields cannot hold the separator byte
// ambiguously: each text is preceded by its length).
std::string ContentKey(const ScheduleEntry& e) {
  std::string key(1, e.IsSpecial ? 'S' : 'P');
  auto text = [&key](const std::string& s) {
    key += std::to_string(s.size());
    key += ':';
    key += s;
  };
  if (e.IsSpecial) {
    key += e.blnSpecial ? '1' : '0';
    text(e.strSpecial);
    text(e.strComment);
  } else {
    key += std::to_string(e.Payment);
    key += ',';
    key += std::to_string(e.lngPrice);
    key += ',';
    text(e.strTitle);
  }
  return key;
}

ScheduleEntry EntryOf(const PaymentData& p) {
  ScheduleEntry e;
  e.Payment = p.Payment;
  e.strTitle = p.strTitle;
  e.lngPrice = p.lngPrice;
  return e;
}

ScheduleEntry EntryOf(const SpecialData& s) {
  ScheduleEntry e;
  e.IsSpecial = true;
  e.blnSpecial = s.blnSpecial;
  e.strSpecial = s.strSpecial;
  e.strComment = s.strComment;
  return e;
}

// A day's entries with the keys they have in their schedule (empty for none).
struct KeyedEntry {
  ScheduleEntry Entry;
  std::string Key;
  std::string Content;
};
std::vector<KeyedEntry> EntriesOf(const DayData* day) {
  std::vector<KeyedEntry> out;
  if (!day) return out;
  for (const auto& p : day->PaymentDatas) out.push_back({EntryOf(p), p.Key, {}});
  for (const auto& s : day->SpecialDatas) out.push_back({EntryOf(s), s.Key, {}});
  for (auto& e : out) e.Content = ContentKey(e.Entry);
  return out;
}

using Counts = std::unordered_map<std::string, int>;

template <class Items, class KeyOf>
Counts CountOf(const Items& items, KeyOf key_of) {
  Counts counts;
  for (const auto& item : items) ++counts[key_of(item)];
  return counts;
}

int CountIn(const Counts& counts, const std::string& key) {
  auto it = counts.find(key);
  return it == counts.end() ? 0 : it->second;
}

// How many of one entry the merge keeps (see MergeSchedules).
int MergedCount(int base, int ours, int theirs) {
  const int d_ours = ours - base, d_theirs = theirs - base;
  int merged;
  if (d_ours >= 0 && d_theirs >= 0) merged = base + std::max(d_ours, d_theirs);
  else if (d_ours <= 0 && d_theirs <= 0) merged = base + std::min(d_ours, d_theirs);
  else merged = base + d_ours + d_theirs;
  return std::max(merged, 0);
}

// The merged sequence: ours' items up to their merged counts, in ours' order, then theirs'
// items still missing, in theirs' order. `from_ours` says which came from ours.
template <class Item, class KeyOf>
std::vector<std::pair<const Item*, bool>> MergeSequence(const std::vector<Item>* base, const std::vector<Item>& ours,
                                                      const std::vector<Item>& theirs, KeyOf key_of) {
  const Counts o = CountOf(ours, key_of), t = CountOf(theirs, key_of);
  const Counts b = base ? CountOf(*base, key_of) : Counts{};
  Counts left;
  auto wanted = [&](const std::string& key) {
    auto it = left.find(key);
    if (it == left.end()) {
      const int ob = CountIn(o, key), tb = CountIn(t, key);
      // Without a base nothing was deleted: keep as many as the side that has more.
      const int n = base ? MergedCount(CountIn(b, key), ob, tb) : std::max(ob, tb);
      it = left.emplace(key, n).first;
    }
    return &it->second;
  };
  std::vector<std::pair<const Item*, bool>> out;
  for (const Item& item : ours) {
    int* n = wanted(key_of(item));
    if (*n > 0) {
      --*n;
      out.push_back({&item, true});
    }
  }
  for (const Item& item : theirs) {
    int* n = wanted(key_of(item));
    if (*n > 0) {
      --*n;
      out.push_back({&item, false});
    }
  }
  return out;
}

void CopyDay(const DayData& from, DayData& to) {
  to.TotalCash = from.TotalCash;
  to.SpecialTitle = from.SpecialTitle;
  to.TotalSpecial = from.TotalSpecial;
  to.SpecialKey = from.SpecialKey;
  to.TotalPaymentPrice = from.TotalPaymentPrice;
  for (const auto& p : from.PaymentDatas) {
    auto& copy = *to.PaymentDatas.Add(p.Key);
    copy = p;
  }
  for (const auto& s : from.SpecialDatas) {
    auto& copy = *to.SpecialDatas.Add(s.Key);
    copy = s;
  }
}

void CopyLists(const DefaultUserListArray& from, DefaultUserListArray& to) {
  for (std::size_t k = 0; k < from.size(); ++k) {
    to[k].Clear();
    for (const auto& preset : from[k]) *to[k].Add(preset.Key) = preset;
  }
}

bool SameContents(const std::vector<std::pair<const KeyedEntry*, bool>>& merged, const std::vector<KeyedEntry>& side) {
  if (merged.size() != side.size()) return false;
  for (std::size_t i = 0; i < side.size(); ++i)
    if (merged[i].first->Content != side[i].Content) return false;
  return true;
}

// Whether two days hold the same entries in the same order (a missing day holds none): the
// common case, decided without building the entries' content keys.
bool SameEntries(const DayData* a, const DayData* b) {
  const std::int64_t payments = a ? a->PaymentDatas.Count() : 0, specials = a ? a->SpecialDatas.Count() : 0;
  if (payments != (b ? b->PaymentDatas.Count() : 0) || specials != (b ? b->SpecialDatas.Count() : 0)) return false;
  if (payments + specials == 0) return true;
  auto p = b->PaymentDatas.begin();
  for (const auto& x : a->PaymentDatas) {
    if (x.Payment != p->Payment || x.lngPrice != p->lngPrice || x.strTitle != p->strTitle) return false;
    ++p;
  }
  auto q = b->SpecialDatas.begin();
  for (const auto& x : a->SpecialDatas) {
    if (x.blnSpecial != q->blnSpecial || x.strSpecial != q->strSpecial || x.strComment != q->strComment) return false;
    ++q;
  }
  return true;
}

// Builds the merged day into `to`, which is empty.
void MergeDay(const DayData* base, const DayData* ours, const DayData* theirs, bool with_base, DayData& to) {
  // One side unchanged (or both alike): the other side's day as it is, stored totals and all.
  if (SameEntries(ours, theirs) || (with_base && SameEntries(base, theirs))) {
    if (ours) CopyDay(*ours, to);
    return;
  }
  if (with_base && SameEntries(base, ours)) {
    if (theirs) CopyDay(*theirs, to);
    return;
  }
  const auto b = EntriesOf(base), o = EntriesOf(ours), t = EntriesOf(theirs);
  const auto merged = MergeSequence(with_base ? &b : nullptr, o, t, [](const KeyedEntry& e) { return e.Content; });
  if (ours && SameContents(merged, o)) return CopyDay(*ours, to);
  if (theirs && SameContents(merged, t)) return CopyDay(*theirs, to);
  // Ours' entries keep their keys; the others get fresh ones after all of ours are placed.
  for (const auto& [entry, from_ours] : merged) {
    if (!from_ours) continue;
    if (entry->Entry.IsSpecial) {
      SpecialData& s = *to.SpecialDatas.Add(entry->Key);
      s.blnSpecial = entry->Entry.blnSpecial, s.strSpecial = entry->Entry.strSpecial;
      s.strComment = entry->Entry.strComment;
    } else {
      PaymentData& p = *to.PaymentDatas.Add(entry->Key);
      p.Payment = entry->Entry.Payment, p.strTitle = entry->Entry.strTitle, p.lngPrice = entry->Entry.lngPrice;
    }
  }
  for (const auto& [entry, from_ours] : merged) {
    if (from_ours) continue;
    if (entry->Entry.IsSpecial) {
      SpecialData& s = *to.SpecialDatas.Add(to.SpecialDatas.NextKey());
      s.blnSpecial = entry->Entry.blnSpecial, s.strSpecial = entry->Entry.strSpecial;
      s.strComment = entry->Entry.strComment;
    } else {
      PaymentData& p = *to.PaymentDatas.Add(to.PaymentDatas.NextKey());
      p.Payment = entry->Entry.Payment, p.strTitle = entry->Entry.strTitle, p.lngPrice = entry->Entry.lngPrice;
    }
  }
  RecalcPaymentTotals(to);
  RecalcSpecialTotals(to);
}

// Whether a container (year, month, day) stands in the merge apart from what it holds: a side
// that changed its presence against base wins; without a base, either side keeps it.
bool MergedPresence(bool base, bool ours, bool theirs, bool with_base) {
  if (!with_base) return ours || theirs;
  if (ours == theirs) return ours;
  return ours == base ? theirs : ours;
}

// The keys of a level: ours' order, then theirs' new ones, then base's (whose content both
// sides deleted, so they stay only when presence says so).
template <class Collection>
std::vector<std::string> LevelKeys(const Collection* base, const Collection* ours, const Collection* theirs) {
  std::vector<std::string> keys;
  const Collection* sides[] = {ours, theirs, base};
  for (std::size_t s = 0; s < 3; ++s) {
    if (!sides[s]) continue;
    for (const auto& element : *sides[s]) {
      bool seen = false;
      for (std::size_t earlier = 0; earlier < s && !seen; ++earlier)
        seen = sides[earlier] && sides[earlier]->Contains(element.Key);
      if (!seen) keys.push_back(element.Key);
    }
  }
  return keys;
}

template <class Collection>
auto* FindIn(const Collection* c, const std::string& key) {
  return c ? c->Find(key) : nullptr;
}

void MergeTree(const YearDatas* base, const YearDatas& ours, const YearDatas& theirs, YearDatas& to) {
  const bool with_base = base != nullptr;
  for (const std::string& year_key : LevelKeys(base, &ours, &theirs)) {
    const YearData *yb = FindIn(base, year_key), *yo = ours.Find(year_key), *yt = theirs.Find(year_key);
    YearData year;
    year.Key = year_key;
    const MonthDatas* mb = yb ? &yb->MonthDatas : nullptr;
    const MonthDatas* mo = yo ? &yo->MonthDatas : nullptr;
    const MonthDatas* mt = yt ? &yt->MonthDatas : nullptr;
    for (const std::string& month_key : LevelKeys(mb, mo, mt)) {
      const MonthData *xb = FindIn(mb, month_key), *xo = FindIn(mo, month_key), *xt = FindIn(mt, month_key);
      MonthData month;
      month.Key = month_key;
      const DayDatas* db = xb ? &xb->DayDatas : nullptr;
      const DayDatas* dd = xo ? &xo->DayDatas : nullptr;
      const DayDatas* dt = xt ? &xt->DayDatas : nullptr;
      for (const std::string& day_key : LevelKeys(db, dd, dt)) {
        const DayData *b = FindIn(db, day_key), *o = FindIn(dd, day_key), *t = FindIn(dt, day_key);
        DayData day;
        day.Key = day_key;
        MergeDay(b, o, t, with_base, day);
        const bool has_entries = !day.PaymentDatas.Empty() || !day.SpecialDatas.Empty();
        if (has_entries || MergedPresence(b, o, t, with_base)) *month.DayDatas.Add(day_key) = std::move(day);
      }
      if (!month.DayDatas.Empty() || MergedPresence(xb, xo, xt, with_base))
        *year.MonthDatas.Add(month_key) = std::move(month);
    }
    if (!year.MonthDatas.Empty() || MergedPresence(yb, yo, yt, with_base)) *to.Add(year_key) = std::move(year);
  }
}

void MergeLists(const DefaultUserListArray* base, const DefaultUserListArray& ours, const DefaultUserListArray& theirs,
                DefaultUserListArray& to) {
  for (std::size_t k = 0; k < to.size(); ++k) {
    auto values = [](const DefaultUserDs& list) {
      std::vector<std::string> out;
      for (const auto& preset : list) out.push_back(preset.strValue1);
      return out;
    };
    const auto b = base ? values((*base)[k]) : std::vector<std::string>{};
    const auto o = values(ours[k]), t = values(theirs[k]);
    const auto merged = MergeSequence(base ? &b : nullptr, o, t, [](const std::string& s) { return s; });
    std::vector<const DefaultUserD*> ours_presets;
    for (const auto& preset : ours[k]) ours_presets.push_back(&preset);
    // Ours' presets keep their keys (and `o` lists them in the same order).
    for (const auto& [value, from_ours] : merged)
      if (from_ours) {
        const DefaultUserD& preset = *ours_presets[static_cast<std::size_t>(value - o.data())];
        *to[k].Add(preset.Key) = preset;
      }
    for (const auto& [value, from_ours] : merged)
      if (!from_ours) to[k].Add(to[k].NextKey())->strValue1 = *value;
  }
}

using DateKey = std::tuple<std::int64_t, std::int64_t, std::int64_t>;

std::int64_t KeyNumber(const std::string& key) { return ParseWholeNumber(key).value_or(0); }

// Calls visit(date, day of a, day of b) for every date either tree holds, nullptr for the side
// that lacks it: both trees walked level by level, without an index of every day.
template <class Visit>
void ForEachDayPair(const YearDatas& a, const YearDatas& b, Visit visit) {
  auto walk = [&visit](const YearDatas& one, const YearDatas& other, bool one_is_a) {
    for (const auto& year : one) {
      const YearData* other_year = other.Find(year.Key);
      for (const auto& month : year.MonthDatas) {
        const MonthData* other_month = other_year ? other_year->MonthDatas.Find(month.Key) : nullptr;
        for (const auto& day : month.DayDatas) {
          const DayData* other_day = other_month ? other_month->DayDatas.Find(day.Key) : nullptr;
          // A date both hold is visited once, from a's side.
          if (!one_is_a && other_day) continue;
          const DateKey date{KeyNumber(year.Key), KeyNumber(month.Key), KeyNumber(day.Key)};
          if (one_is_a) visit(date, &day, other_day);
          else visit(date, nullptr, &day);
        }
      }
    }
  };
  walk(a, b, true);
  walk(b, a, false);
}

// The items of `a` beyond what `b` holds of each, in `a`'s order.
template <class Item, class KeyOf>
std::vector<Item> Surplus(const std::vector<Item>& a, const std::vector<Item>& b, KeyOf key_of) {
  const Counts in_b = CountOf(b, key_of);
  Counts seen;
  std::vector<Item> out;
  for (const Item& item : a) {
    const std::string key = key_of(item);
    if (++seen[key] > CountIn(in_b, key)) out.push_back(item);
  }
  return out;
}

std::string GroupDigits(std::int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
  return value < 0 ? "-" + digits : digits;
}

constexpr const char* kPresetKindNames[] = {"自動振替", "現金払い・振り込み等", "特に特別な日", "特別な日"};
constexpr char kAddedMark[] = "  追加: ";
constexpr char kRemovedMark[] = "  削除: ";

}  // namespace

bool ScheduleChanges::Empty() const {
  if (!Days.empty()) return false;
  return std::all_of(Presets.begin(), Presets.end(),
                     [](const PresetChanges& p) { return p.Added.empty() && p.Removed.empty(); });
}

std::int64_t ScheduleChanges::AddedEntries() const {
  std::int64_t n = 0;
  for (const auto& day : Days) n += static_cast<std::int64_t>(day.Added.size());
  return n;
}

std::int64_t ScheduleChanges::RemovedEntries() const {
  std::int64_t n = 0;
  for (const auto& day : Days) n += static_cast<std::int64_t>(day.Removed.size());
  return n;
}

ScheduleChanges DiffSchedules(ScheduleView from, ScheduleView to) {
  ScheduleChanges changes;
  const auto content = [](const KeyedEntry& e) { return e.Content; };
  ForEachDayPair(from.Years, to.Years, [&](const DateKey& date, const DayData* from_day, const DayData* to_day) {
    if (SameEntries(from_day, to_day)) return;
    const auto a = EntriesOf(from_day), b = EntriesOf(to_day);
    const auto added = Surplus(b, a, content), removed = Surplus(a, b, content);
    if (added.empty() && removed.empty()) return;
    DayChanges day;
    day.Date.Year = static_cast<std::int16_t>(std::get<0>(date));
    day.Date.Month = static_cast<std::int16_t>(std::get<1>(date));
    day.Date.Day = static_cast<std::int16_t>(std::get<2>(date));
    for (const auto& e : added) day.Added.push_back(e.Entry);
    for (const auto& e : removed) day.Removed.push_back(e.Entry);
    changes.Days.push_back(std::move(day));
  });
  // Told in date order, whatever order the trees keep their days in.
  std::stable_sort(changes.Days.begin(), changes.Days.end(), [](const DayChanges& x, const DayChanges& y) {
    return std::tie(x.Date.Year, x.Date.Month, x.Date.Day) < std::tie(y.Date.Year, y.Date.Month, y.Date.Day);
  });
  const auto same = [](const std::string& s) { return s; };
  for (std::size_t k = 0; k < changes.Presets.size(); ++k) {
    std::vector<std::string> a, b;
    for (const auto& preset : from.Lists[k]) a.push_back(preset.strValue1);
    for (const auto& preset : to.Lists[k]) b.push_back(preset.strValue1);
    changes.Presets[k].Added = Surplus(b, a, same);
    changes.Presets[k].Removed = Surplus(a, b, same);
  }
  return changes;
}

MergeResult MergeSchedules(ScheduleView base, ScheduleView ours, ScheduleView theirs) {
  MergeResult result;
  MergeTree(&base.Years, ours.Years, theirs.Years, result.Years);
  MergeLists(&base.Lists, ours.Lists, theirs.Lists, result.Lists);
  result.FromTheirs = DiffSchedules(ours, {result.Years, result.Lists});
  return result;
}

MergeResult UnionSchedules(ScheduleView ours, ScheduleView theirs) {
  MergeResult result;
  MergeTree(nullptr, ours.Years, theirs.Years, result.Years);
  MergeLists(nullptr, ours.Lists, theirs.Lists, result.Lists);
  result.FromTheirs = DiffSchedules(ours, {result.Years, result.Lists});
  return result;
}

void CopySchedule(ScheduleView from, YearDatas& years, DefaultUserListArray& lists) {
  YearDatas copy;
  for (const auto& year : from.Years) {
    YearData& y = *copy.Add(year.Key);
    for (const auto& month : year.MonthDatas) {
      MonthData& m = *y.MonthDatas.Add(month.Key);
      for (const auto& day : month.DayDatas) CopyDay(day, *m.DayDatas.Add(day.Key));
    }
  }
  DefaultUserListArray copied_lists;
  CopyLists(from.Lists, copied_lists);
  years = std::move(copy);
  lists = std::move(copied_lists);
}

std::string DescribeEntry(const ScheduleEntry& e) {
  if (e.IsSpecial) {
    std::string text = e.strSpecial + (e.blnSpecial ? " (特に特別な日)" : " (特別な日)");
    if (!e.strComment.empty()) text += " " + e.strComment;
    return text;
  }
  std::string text = e.strTitle + " " + GroupDigits(e.lngPrice) + "円";
  if (e.Payment == 0) text += " (自動振替)";
  if (e.Payment == 1) text += " (現金)";
  return text;
}

std::string DescribeChanges(const ScheduleChanges& changes, int max_lines) {
  std::string text;
  int lines = 0;
  std::int64_t left_out = 0;
  auto line = [&](const std::string& s, bool is_entry) {
    if (lines >= max_lines) {
      if (is_entry) ++left_out;
      return;
    }
    text += s + "\r\n";
    ++lines;
  };
  char date[32];
  for (const auto& day : changes.Days) {
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", day.Date.Year, day.Date.Month, day.Date.Day);
    line(date, false);
    for (const auto& e : day.Added) line(kAddedMark + DescribeEntry(e), true);
    for (const auto& e : day.Removed) line(kRemovedMark + DescribeEntry(e), true);
  }
  for (std::size_t k = 0; k < changes.Presets.size(); ++k) {
    const auto& preset = changes.Presets[k];
    if (preset.Added.empty() && preset.Removed.empty()) continue;
    line(std::string("定型入力 (") + kPresetKindNames[k] + ")", false);
    for (const auto& value : preset.Added) line(kAddedMark + value, true);
    for (const auto& value : preset.Removed) line(kRemovedMark + value, true);
  }
  if (left_out > 0) text += "ほか " + GroupDigits(left_out) + " 件\r\n";
  return text;
}

namespace {

std::string Totals(const ScheduleChanges& changes) {
  std::int64_t presets = 0;
  for (const auto& p : changes.Presets) presets += static_cast<std::int64_t>(p.Added.size() + p.Removed.size());
  std::string text = "追加 " + GroupDigits(changes.AddedEntries()) + " 件、削除 " +
                     GroupDigits(changes.RemovedEntries()) + " 件";
  if (presets > 0) text += "、定型入力の変更 " + GroupDigits(presets) + " 件";
  return text;
}

}  // namespace

std::string MergeMessageText(const ScheduleChanges& from_theirs, const std::string& source) {
  if (from_theirs.Empty())
    return "ユーザーデータファイルがほかのプログラムで変更されましたが、予定に違いはありませんでした。\r\n" + source;
  return "ユーザーデータファイルがほかのプログラムで変更されていたので、その内容をいまの予定に取り込みました。\r\n"
         "どちらの変更も失われていません。\r\n" +
         source + "\r\n\r\n" + Totals(from_theirs) + "\r\n" + DescribeChanges(from_theirs);
}

std::string UnsavedChangesText(const ScheduleChanges& changes) {
  return "前回、保存されないまま終了した予定の変更があります (" + Totals(changes) + ")。\r\n\r\n" +
         DescribeChanges(changes);
}

}  // namespace orv
