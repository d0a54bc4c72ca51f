#include "tools/orvtool/icalendar_writer.hpp"

#include <cstdint>
#include <cstdio>
#include <map>

#include "dialogs/dialog_texts.hpp"

namespace orv::tool {
namespace {

constexpr std::size_t kMaxLineOctets = 75;
// Any fixed instant will do: the stamp must not change while the event does not.
constexpr std::string_view kStamp = "20000101T000000Z";

std::string BasicDate(const DateParts& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.Year, date.Month, date.Day);
  return text;
}

// 64-bit FNV-1a: small, stable across platforms and runs. Each field is preceded by its
// length so that ("ab", "c") and ("a", "bc") differ.
class Digest {
public:
  Digest& Add(std::string_view field) {
    Bytes(std::to_string(field.size()) + ":");
    Bytes(field);
    return *this;
  }
  std::string Hex() const {
    char text[20];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
  }

private:
  void Bytes(std::string_view bytes) {
    for (unsigned char c : bytes) {
      hash_ ^= c;
      hash_ *= 0x100000001b3ULL;
    }
  }
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void Line(std::string& out, std::string_view line) {
  out += FoldContentLine(line);
}

void Text(std::string& out, std::string_view name, std::string_view value) {
  Line(out, std::string(name) + ":" + EscapeICalendarText(value));
}

}  // namespace

std::string EscapeICalendarText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case ';':
        out += "\\;";
        break;
      case ',':
        out += "\\,";
        break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += "\\n";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if ((static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) || c == '\t') out += c;
    }
  }
  return out;
}

std::string FoldContentLine(std::string_view line) {
  std::string out;
  out.reserve(line.size() + line.size() / 64 * 3 + 2);
  std::size_t limit = kMaxLineOctets;
  while (line.size() > limit) {
    std::size_t cut = limit;
    // Back up to the first byte of the character that would be split.
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = limit;  // not UTF-8 at all: cut anywhere rather than loop
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    limit = kMaxLineOctets - 1;  // the leading space of a continuation line counts
  }
  out.append(line);
  out += "\r\n";
  return out;
}

std::string FileUidPart(std::string_view full_path) { return Digest().Add(full_path).Hex(); }

std::vector<std::string> EntryUids(const std::vector<DatedEntry>& entries, std::string_view file_part) {
  std::vector<std::string> uids;
  uids.reserve(entries.size());
  // Identical entries of one day differ only by their count (the content names the day).
  std::map<std::string, int> copies;
  for (const auto& dated : entries) {
    Digest digest;
    std::string kind;
    const ScheduleEntry& e = dated.entry;
    if (!e.IsSpecial) {
      kind = "payment";
      digest.Add(std::to_string(e.Payment)).Add(std::to_string(e.lngPrice)).Add(e.strTitle);
    } else {
      kind = "special";
      digest.Add(e.blnSpecial ? "1" : "0").Add(e.strSpecial).Add(e.strComment);
    }
    std::string content = BasicDate(dated.date) + "-" + kind + "-" + digest.Hex();
    const int copy = ++copies[content];
    uids.push_back(content + "-" + std::to_string(copy) + "-" + std::string(file_part) + "@orvanta");
  }
  return uids;
}

std::string PaymentSummary(const ScheduleEntry& payment) {
  std::string text = payment.strTitle;
  if (!text.empty()) text += " ";
  text += GroupedAmount(payment.lngPrice) + "円";
  if (payment.Payment == 0) text += texts::kAutomaticTransferSuffix;
  if (payment.Payment == 1) text += texts::kCashSuffix;
  return text;
}

std::string WriteICalendar(const std::vector<DatedEntry>& entries, std::string_view file_part) {
  const std::vector<std::string> uids = EntryUids(entries, file_part);
  std::string out;
  out.reserve(entries.size() * 260 + 128);
  Line(out, "BEGIN:VCALENDAR");
  Line(out, "VERSION:2.0");
  Line(out, "PRODID:-//Orvanta//orvtool//JA");
  Line(out, "CALSCALE:GREGORIAN");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const DateParts& date = entries[i].date;
    const ScheduleEntry& entry = entries[i].entry;
    const DateParts next = SplitDate(MakeDate(date.Year, date.Month, date.Day) + std::chrono::days{1});
    Line(out, "BEGIN:VEVENT");
    Line(out, "UID:" + uids[i]);
    Line(out, std::string("DTSTAMP:") + std::string(kStamp));
    Line(out, "DTSTART;VALUE=DATE:" + BasicDate(date));
    // Without DTEND an all-day event lasts one day: the way out for 9999-12-31, whose next
    // day has no four-digit year.
    if (next.Year <= 9999) Line(out, "DTEND;VALUE=DATE:" + BasicDate(next));
    if (!entry.IsSpecial) {
      Text(out, "SUMMARY", PaymentSummary(entry));
    } else {
      Text(out, "SUMMARY", entry.strSpecial);
      if (!entry.strComment.empty()) Text(out, "DESCRIPTION", entry.strComment);
      if (entry.blnSpecial) Line(out, "PRIORITY:1");
    }
    // A reminder of a day, not an appointment: it does not make the user busy.
    Line(out, "TRANSP:TRANSPARENT");
    Line(out, "END:VEVENT");
  }
  Line(out, "END:VCALENDAR");
  return out;
}

}  // namespace orv::tool
