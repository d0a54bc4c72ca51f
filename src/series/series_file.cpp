// The companion file's text and the three-way merge of two books.
//
//   OrvantaSeries 1
//   next-id 3
//
//   series 1
//   kind automatic              automatic | cash | very-special | special
//   name 家賃                    rest of the line; \\ \n \r \t \xHH escapes
//   amount 50000                payments; special days have "comment TEXT" instead
//   start 2027-01-31
//   every 1 month last-day      N week | N month [last-day] | N year
//   end count 12                end never | end count N | end until YYYY-MM-DD
//   shift next                  none | previous | next
//   written 2029-01-31
//   skip 2027-05-31             zero or more, in date order
//
// The fields come in this order; a blank line comes before each series.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <limits>

#include "series/series.hpp"
#include "series/series_detail.hpp"

namespace orv {

using namespace series_detail;

namespace {

constexpr std::string_view kMagic = "OrvantaSeries 1";
constexpr std::string_view kKindNames[] = {"automatic", "cash", "very-special", "special"};

std::string IsoText(Date date) {
  const DateParts p = SplitDate(date);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  return text;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (byte < 0x20 || byte == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else out += c;
  }
  return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7f) return std::nullopt;
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'x': {
        unsigned value = 0;
        if (text.size() - i < 3) return std::nullopt;
        auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc{} || end != text.data() + i + 3) return std::nullopt;
        // Only what the writer writes this way: the control characters without a letter.
        if ((value >= 0x20 && value != 0x7f) || value == '\n' || value == '\r' || value == '\t')
          return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

template <typename Int>
std::optional<Int> Number(std::string_view text) {
  if (text.empty() || text[0] == '+') return std::nullopt;
  Int value{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<Date> IsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  const auto y = Number<int>(text.substr(0, 4)), m = Number<int>(text.substr(5, 2)),
             d = Number<int>(text.substr(8, 2));
  const std::chrono::year_month_day ymd{std::chrono::year{*y}, std::chrono::month{static_cast<unsigned>(*m)},
                                        std::chrono::day{static_cast<unsigned>(*d)}};
  if (!ymd.ok() || *y < kFirstYear) return std::nullopt;
  return std::chrono::sys_days{ymd};
}

// The book's lines one after another; every reader step either takes the line it expects or
// fails the whole file.
class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ == text_.size(); }
  std::optional<std::string_view> Next() {
    if (AtEnd()) return std::nullopt;
    const std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) return std::nullopt;  // the last line ends too
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }
  // The value after "key " (or nothing after a bare "key" when `empty_ok`).
  std::optional<std::string_view> Field(std::string_view key, bool empty_ok = false) {
    const auto line = Peek();
    if (!line) return std::nullopt;
    if (empty_ok && *line == key) {
      Next();
      return std::string_view{};
    }
    if (line->size() <= key.size() + 1 || !line->starts_with(key) || (*line)[key.size()] != ' ')
      return std::nullopt;
    Next();
    return line->substr(key.size() + 1);
  }
  std::optional<std::string_view> Peek() {
    const std::size_t saved = pos_;
    auto line = Next();
    pos_ = saved;
    return line;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t space = std::min(text.find(' ', pos), text.size());
    words.push_back(text.substr(pos, space - pos));
    pos = space + 1;
  }
  return words;
}

std::optional<Series> ReadSeries(Lines& in) {
  Series s;
  SeriesRule& r = s.rule;
  const auto id = in.Field("series");
  if (!id) return std::nullopt;
  const auto id_number = Number<std::uint32_t>(*id);
  if (!id_number || *id_number == 0) return std::nullopt;
  s.id = *id_number;

  const auto kind = in.Field("kind");
  if (!kind) return std::nullopt;
  const auto known = std::find(std::begin(kKindNames), std::end(kKindNames), *kind);
  if (known == std::end(kKindNames)) return std::nullopt;
  r.entry.kind = static_cast<int>(known - std::begin(kKindNames));
  const bool payment = IsPaymentKind(r.entry.kind);

  const auto name = in.Field("name", true);
  const auto name_text = name ? Unescaped(*name) : std::nullopt;
  if (!name_text) return std::nullopt;
  r.entry.name = *name_text;
  if (payment) {
    const auto amount = in.Field("amount");
    const auto value = amount ? Number<std::int32_t>(*amount) : std::nullopt;
    if (!value) return std::nullopt;
    r.entry.amount = *value;
  } else {
    const auto comment = in.Field("comment", true);
    const auto comment_text = comment ? Unescaped(*comment) : std::nullopt;
    if (!comment_text) return std::nullopt;
    r.entry.comment = *comment_text;
  }
  // Only entries the data file can hold: the same checks as any new entry.
  if (!CheckNewEntry(YearDatas{}, DateParts{}, r.entry).Accepted()) return std::nullopt;

  const auto start = in.Field("start");
  const auto start_date = start ? IsoDate(*start) : std::nullopt;
  if (!start_date) return std::nullopt;
  r.start = *start_date;

  const auto every = in.Field("every");
  if (!every) return std::nullopt;
  const auto every_words = Words(*every);
  if (every_words.size() < 2 || every_words.size() > 3) return std::nullopt;
  const auto every_number = Number<int>(every_words[0]);
  if (!every_number) return std::nullopt;
  r.every = *every_number;
  if (every_words[1] == "week") r.unit = SeriesUnit::kWeek;
  else if (every_words[1] == "month") r.unit = SeriesUnit::kMonth;
  else if (every_words[1] == "year") r.unit = SeriesUnit::kYear;
  else return std::nullopt;
  if (every_words.size() == 3) {
    if (every_words[2] != "last-day" || r.unit != SeriesUnit::kMonth) return std::nullopt;
    r.last_day = true;
  }

  const auto end = in.Field("end");
  if (!end) return std::nullopt;
  const auto end_words = Words(*end);
  if (end_words.size() == 1 && end_words[0] == "never") {
    r.end = SeriesEnd::kNever;
  } else if (end_words.size() == 2 && end_words[0] == "count") {
    const auto count = Number<int>(end_words[1]);
    if (!count || *count < 1 || *count > static_cast<int>(kMaxSeriesOccurrences)) return std::nullopt;
    r.end = SeriesEnd::kAfterCount;
    r.count = *count;
  } else if (end_words.size() == 2 && end_words[0] == "until") {
    const auto until = IsoDate(end_words[1]);
    if (!until || *until < r.start) return std::nullopt;
    r.end = SeriesEnd::kOnOrBefore;
    r.until = *until;
  } else {
    return std::nullopt;
  }

  const auto shift = in.Field("shift");
  if (!shift) return std::nullopt;
  if (*shift == "none") r.shift = SeriesShift::kNone;
  else if (*shift == "previous" && payment) r.shift = SeriesShift::kPrevious;
  else if (*shift == "next" && payment) r.shift = SeriesShift::kNext;
  else return std::nullopt;
  if (!ValidRule(r)) return std::nullopt;

  const auto written = in.Field("written");
  const auto written_date = written ? IsoDate(*written) : std::nullopt;
  if (!written_date) return std::nullopt;
  s.written_through = *written_date;

  while (in.Peek() && in.Peek()->starts_with("skip ")) {
    const auto date = IsoDate(in.Field("skip").value_or(""));
    if (!date || (!s.skipped.empty() && *date <= s.skipped.back())) return std::nullopt;
    s.skipped.push_back(*date);
  }
  return s;
}

}  // namespace

std::string SeriesFilePath(std::string_view data_path) {
  return std::string(data_path) + kSeriesFileExtension;
}

std::string WriteSeriesText(const SeriesBook& book) {
  std::string out = std::string(kMagic) + "\n" + "next-id " + std::to_string(book.next_id) + "\n";
  for (const Series& s : book.series) {
    const SeriesRule& r = s.rule;
    out += "\nseries " + std::to_string(s.id) + "\n";
    out += "kind " + std::string(kKindNames[static_cast<std::size_t>(std::clamp(r.entry.kind, 0, 3))]) + "\n";
    out += r.entry.name.empty() ? std::string("name\n") : "name " + Escaped(r.entry.name) + "\n";
    if (IsPaymentKind(r.entry.kind))
      out += "amount " + std::to_string(r.entry.amount) + "\n";
    else
      out += r.entry.comment.empty() ? std::string("comment\n") : "comment " + Escaped(r.entry.comment) + "\n";
    out += "start " + IsoText(r.start) + "\n";
    out += "every " + std::to_string(r.every) + " " +
           (r.unit == SeriesUnit::kWeek ? "week" : r.unit == SeriesUnit::kMonth ? "month" : "year") +
           (r.unit == SeriesUnit::kMonth && r.last_day ? " last-day" : "") + "\n";
    switch (r.end) {
      case SeriesEnd::kNever: out += "end never\n"; break;
      case SeriesEnd::kAfterCount: out += "end count " + std::to_string(r.count) + "\n"; break;
      case SeriesEnd::kOnOrBefore: out += "end until " + IsoText(r.until) + "\n"; break;
    }
    const bool shifts = IsPaymentKind(r.entry.kind) && r.shift != SeriesShift::kNone;
    out += std::string("shift ") +
           (!shifts ? "none" : r.shift == SeriesShift::kNext ? "next" : "previous") + "\n";
    out += "written " + IsoText(s.written_through) + "\n";
    for (Date d : s.skipped) out += "skip " + IsoText(d) + "\n";
  }
  return out;
}

std::optional<SeriesBook> ReadSeriesText(std::string_view text) {
  // A byte order mark, as some editors write one, is allowed before the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  Lines in(text);
  if (in.Next() != kMagic) return std::nullopt;
  SeriesBook book;
  const auto next = in.Field("next-id");
  const auto next_id = next ? Number<std::uint32_t>(*next) : std::nullopt;
  if (!next_id || *next_id == 0) return std::nullopt;
  book.next_id = *next_id;
  while (!in.AtEnd()) {
    if (in.Next() != std::string_view{}) return std::nullopt;
    auto series = ReadSeries(in);
    if (!series || series->id >= book.next_id || book.Find(series->id)) return std::nullopt;
    book.series.push_back(std::move(*series));
  }
  return book;
}

namespace {

// The last nominal date a rule allows (the calendar's end when it has no end).
Date LastAllowed(const SeriesRule& rule) {
  switch (rule.end) {
    case SeriesEnd::kNever: break;
    case SeriesEnd::kOnOrBefore: return rule.until;
    case SeriesEnd::kAfterCount:
      if (auto last = NominalAt(rule, rule.count - 1)) return *last;
      break;
  }
  return MakeDate(kLastYear, 12, 31);
}

bool SameButEnd(SeriesRule a, const SeriesRule& b) {
  a.end = b.end;
  a.count = b.count;
  a.until = b.until;
  return a == b;
}

std::vector<Date> United(const std::vector<Date>& a, const std::vector<Date>& b) {
  std::vector<Date> all;
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(all));
  return all;
}

}  // namespace

SeriesBook MergeSeriesBooks(const SeriesBook& base, const SeriesBook& mine, const SeriesBook& theirs) {
  SeriesBook merged;
  std::uint32_t next_id = std::max({base.next_id, mine.next_id, theirs.next_id});
  for (const SeriesBook* book : {&base, &mine, &theirs})
    for (const Series& s : book->series) next_id = std::max(next_id, s.id + 1);
  std::vector<Series> renumbered;  // theirs' side of a series both sides changed or both added
  auto give_new_id = [&](Series s) {
    s.id = next_id++;
    renumbered.push_back(std::move(s));
  };

  for (const Series& m : mine.series) {
    const Series* b = base.Find(m.id);
    const Series* t = theirs.Find(m.id);
    if (!t) {
      // Removed on their side: it goes unless this side changed it since.
      if (!b || m != *b) merged.series.push_back(m);
      continue;
    }
    if (!b) {
      // Both sides added a series under the same id.
      merged.series.push_back(m);
      if (*t != m) give_new_id(*t);
      continue;
    }
    Series out = m;
    out.skipped = United(m.skipped, t->skipped);
    out.written_through = std::max(m.written_through, t->written_through);
    if (m.rule == b->rule) {
      out.rule = t->rule;
    } else if (t->rule != b->rule && t->rule != m.rule) {
      if (SameButEnd(m.rule, t->rule)) {
        // Both ended it: the earlier end holds.
        if (LastAllowed(t->rule) < LastAllowed(m.rule)) out.rule = t->rule;
      } else {
        // Changed differently on both sides: both are kept rather than one lost.
        Series theirs_copy = *t;
        theirs_copy.skipped = out.skipped;
        give_new_id(std::move(theirs_copy));
      }
    }
    merged.series.push_back(std::move(out));
  }
  for (const Series& t : theirs.series) {
    if (mine.Find(t.id)) continue;
    const Series* b = base.Find(t.id);
    if (b) {
      // Removed on this side: it goes unless their side changed it since.
      if (t != *b) merged.series.push_back(t);
    } else if (t.id >= base.next_id && t.id < mine.next_id) {
      // An id this side also gave out (to a series since removed): never reused.
      give_new_id(t);
    } else {
      merged.series.push_back(t);
    }
  }
  for (Series& s : renumbered) merged.series.push_back(std::move(s));
  merged.next_id = next_id;
  return merged;
}

SeriesBook UnionSeriesBooks(const SeriesBook& mine, const SeriesBook& theirs) {
  SeriesBook united = mine;
  std::uint32_t next_id = std::max(mine.next_id, theirs.next_id);
  for (const SeriesBook* book : {&mine, &theirs})
    for (const Series& s : book->series) next_id = std::max(next_id, s.id + 1);
  std::vector<Series> added;
  for (const Series& t : theirs.series) {
    // The same rule falls on the same dates with the same entry: one series, however numbered.
    Series* same = united.Find(t.id);
    if (!same || same->rule != t.rule) {
      same = nullptr;
      for (Series& m : united.series)
        if (m.rule == t.rule) {
          same = &m;
          break;
        }
    }
    if (same) {
      same->skipped = United(same->skipped, t.skipped);
      same->written_through = std::max(same->written_through, t.written_through);
      continue;
    }
    Series kept = t;
    // An id below mine's next one is mine: in use, or given out once and never to come back.
    if (kept.id < mine.next_id) kept.id = next_id++;
    added.push_back(std::move(kept));
  }
  for (Series& s : added) united.series.push_back(std::move(s));
  united.next_id = next_id;
  return united;
}

}  // namespace orv
