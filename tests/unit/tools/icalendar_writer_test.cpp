#include "tools/orvtool/icalendar_writer.hpp"

#include <gtest/gtest.h>

#include <set>

#include "platform/text_codec.hpp"
#include "schedule/new_entry.hpp"

namespace orv::tool {
namespace {

std::vector<DatedEntry> Entries(const YearDatas& years) {
  std::vector<DatedEntry> entries;
  EXPECT_EQ(ListScheduleEntries(years, entries), "");
  return entries;
}

void Add(YearDatas& years, DateParts date, NewEntry entry) {
  ASSERT_TRUE(CheckNewEntry(years, date, entry).Accepted());
  AddNewEntry(years, date, entry);
}

// The physical lines of a CR LF text, without their line ends.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

// The content lines of an iCalendar text, unfolded.
std::vector<std::string> ContentLines(const std::string& text) {
  std::vector<std::string> lines;
  for (auto& line : Lines(text)) {
    if (!line.empty() && line[0] == ' ')
      lines.back() += line.substr(1);
    else
      lines.push_back(line);
  }
  return lines;
}

TEST(ICalendarText, EscapesTheSpecialCharactersAndEveryKindOfLineBreak) {
  struct Case {
    const char* text;
    const char* escaped;
  } cases[] = {
      {"plain: text", "plain: text"},  // a colon needs no escape inside a value
      {"a\\b", "a\\\\b"},
      {"a;b,c", "a\\;b\\,c"},
      {"one\r\ntwo\nthree\rfour", "one\\ntwo\\nthree\\nfour"},
      {"\r\n\r\n", "\\n\\n"},
      {"tab\tkept, bell\a and escape\x1b"
       "dropped\x7f",
       "tab\tkept\\, bell and escapedropped"},
      {"家賃\\;月末", "家賃\\\\\\;月末"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeICalendarText(c.text), c.escaped) << c.text;
}

TEST(ICalendarText, FoldsAtSeventyFiveOctetsWithoutSplittingACharacter) {
  EXPECT_EQ(FoldContentLine(std::string(75, 'a')), std::string(75, 'a') + "\r\n");
  EXPECT_EQ(FoldContentLine(std::string(76, 'a')), std::string(75, 'a') + "\r\n a\r\n");
  // Continuation lines hold 74 octets after their leading space.
  EXPECT_EQ(FoldContentLine(std::string(75 + 74 + 1, 'a')),
            std::string(75, 'a') + "\r\n " + std::string(74, 'a') + "\r\n a\r\n");

  // Three-byte characters after an odd prefix: no split point falls on a character
  // boundary by luck, at every offset.
  for (std::size_t prefix = 0; prefix < 4; ++prefix) {
    std::string line = "SUMMARY:" + std::string(prefix, 'x');
    for (int i = 0; i < 60; ++i) line += i % 2 ? "日" : "\xF0\x9F\x8E\x82";  // 3 and 4 bytes
    const std::string folded = FoldContentLine(line);
    std::string unfolded;
    for (const auto& physical : Lines(folded)) {
      EXPECT_LE(physical.size(), 75u);
      EXPECT_TRUE(IsValidUtf8(physical)) << "split inside a character: prefix " << prefix;
      unfolded += unfolded.empty() ? physical : physical.substr(1);
    }
    EXPECT_EQ(unfolded, line);
  }
}

TEST(ICalendarEvents, OneAllDayEventPerEntryWithWhatTheDayListShows) {
  YearDatas years;
  Add(years, {2026, 12, 31}, {kAutomaticTransfers, "家賃", 50000, {}});
  Add(years, {2026, 12, 31}, {kCashPayments, "", -1234567, {}});
  Add(years, {2024, 2, 28}, {kVerySpecialDays, "誕生日", 0, "花を買う, ケーキも\r\n二行目"});
  Add(years, {2024, 2, 28}, {kSpecialDays, "記念日", 0, ""});
  const auto lines = ContentLines(WriteICalendar(Entries(years), "f"));

  const std::vector<std::string> head(lines.begin(), lines.begin() + 4);
  EXPECT_EQ(head,
            (std::vector<std::string>{"BEGIN:VCALENDAR", "VERSION:2.0",
                                      "PRODID:-//Orvanta//orvtool//JA", "CALSCALE:GREGORIAN"}));
  EXPECT_EQ(lines.back(), "END:VCALENDAR");

  // Each event without its UID, in file order.
  std::vector<std::vector<std::string>> events;
  for (const auto& line : lines) {
    if (line == "BEGIN:VEVENT")
      events.emplace_back();
    else if (!events.empty() && line.rfind("UID:", 0) != 0 && line != "END:VCALENDAR")
      events.back().push_back(line);
  }
  const std::vector<std::vector<std::string>> expected{
      {"DTSTAMP:20000101T000000Z", "DTSTART;VALUE=DATE:20261231", "DTEND;VALUE=DATE:20270101",
       "SUMMARY:家賃 50\\,000円 (自動振替)", "TRANSP:TRANSPARENT", "END:VEVENT"},
      {"DTSTAMP:20000101T000000Z", "DTSTART;VALUE=DATE:20261231", "DTEND;VALUE=DATE:20270101",
       "SUMMARY:-1\\,234\\,567円 (現金)", "TRANSP:TRANSPARENT", "END:VEVENT"},
      {"DTSTAMP:20000101T000000Z", "DTSTART;VALUE=DATE:20240228", "DTEND;VALUE=DATE:20240229",
       "SUMMARY:誕生日", "DESCRIPTION:花を買う\\, ケーキも\\n二行目", "PRIORITY:1",
       "TRANSP:TRANSPARENT", "END:VEVENT"},
      {"DTSTAMP:20000101T000000Z", "DTSTART;VALUE=DATE:20240228", "DTEND;VALUE=DATE:20240229",
       "SUMMARY:記念日", "TRANSP:TRANSPARENT", "END:VEVENT"},
  };
  EXPECT_EQ(events, expected);
}

TEST(ICalendarEvents, TheLastDayOfYear9999EndsByTheOneDayRule) {
  YearDatas years;
  Add(years, {9999, 12, 31}, {kSpecialDays, "最後", 0, ""});
  const auto lines = ContentLines(WriteICalendar(Entries(years), "f"));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "DTSTART;VALUE=DATE:99991231"), lines.end());
  for (const auto& line : lines) EXPECT_NE(line.rfind("DTEND", 0), 0u) << line;
}

TEST(ICalendarUids, StableUniqueAndChangedOnlyWithTheirEntry) {
  YearDatas years;
  const NewEntry lunch{kCashPayments, "昼食", 800, {}};
  const NewEntry rent{kAutomaticTransfers, "家賃", 50000, {}};
  Add(years, {2026, 3, 8}, rent);
  Add(years, {2026, 3, 8}, lunch);
  Add(years, {2026, 3, 8}, lunch);  // the same entry twice on one day
  Add(years, {2026, 3, 8}, {kSpecialDays, "昼食", 0, ""});
  Add(years, {2026, 3, 9}, lunch);
  const std::string file = FileUidPart("/home/me/家計.ORV");
  auto uids = [&file](const YearDatas& y) { return EntryUids(Entries(y), file); };
  const auto first = uids(years);
  EXPECT_EQ(std::set<std::string>(first.begin(), first.end()).size(), first.size());
  EXPECT_EQ(first[0].rfind("20260308-payment-", 0), 0u) << first[0];
  EXPECT_TRUE(first[1].ends_with("-1-" + file + "@orvanta")) << first[1];
  EXPECT_TRUE(first[2].ends_with("-2-" + file + "@orvanta")) << first[2];
  EXPECT_EQ(first[4].substr(8), first[1].substr(8));  // the next day counts from 1 again
  EXPECT_EQ(WriteICalendar(Entries(years), file), WriteICalendar(Entries(years), file));

  // Entries added elsewhere, before or after leave the others' UIDs alone.
  const auto set = [](const std::vector<std::string>& list) { return std::set<std::string>(list.begin(), list.end()); };
  Add(years, {2025, 1, 1}, lunch);
  Add(years, {2026, 3, 8}, {kAutomaticTransfers, "電気", 4000, {}});
  auto grown = set(uids(years));
  EXPECT_EQ(grown.size(), first.size() + 2);
  for (const auto& uid : first) EXPECT_TRUE(grown.contains(uid)) << uid;

  // So does an earlier entry removed: the later ones keep theirs, and of two identical
  // entries the one left is the first.
  FindDay(years, {2026, 3, 8})->PaymentDatas.RemoveAt(1);  // the rent
  grown.erase(first[0]);
  EXPECT_EQ(set(uids(years)), grown);
  FindDay(years, {2026, 3, 8})->PaymentDatas.RemoveAt(1);  // the first lunch
  EXPECT_EQ(uids(years)[0], first[1]);

  // The same entry in another user's file (or another file of the same user) is another event.
  const std::string yours = FileUidPart("/home/you/家計.ORV");
  EXPECT_NE(yours, file);
  EXPECT_NE(EntryUids(Entries(years), yours)[0], uids(years)[0]);

  // A changed amount, name, comment or kind is a different event.
  auto changed = [&](auto change) {
    YearDatas other;
    Add(other, {2026, 3, 8}, lunch);
    Add(other, {2026, 3, 8}, {kSpecialDays, "昼食", 0, ""});
    const auto before = uids(other);
    DayData& day = *FindDay(other, {2026, 3, 8});
    change(day);
    const auto after = uids(other);
    return before != after;
  };
  EXPECT_TRUE(changed([](DayData& d) { d.PaymentDatas.At(1)->lngPrice = 801; }));
  EXPECT_TRUE(changed([](DayData& d) { d.PaymentDatas.At(1)->strTitle = "夕食"; }));
  EXPECT_TRUE(changed([](DayData& d) { d.PaymentDatas.At(1)->Payment = 0; }));
  EXPECT_TRUE(changed([](DayData& d) { d.SpecialDatas.At(1)->strComment = "x"; }));
  EXPECT_TRUE(changed([](DayData& d) { d.SpecialDatas.At(1)->blnSpecial = true; }));
  EXPECT_FALSE(changed([](DayData& d) { d.TotalPaymentPrice = 5; }));  // not part of any event
}

TEST(ScheduleEntries, EntriesOnADayTheCalendarLacksStopTheExport) {
  YearDatas years;
  GetOrCreateDay(years, {2026, 2, 30});  // an empty day: nothing to export, no harm
  Add(years, {2026, 3, 1}, {kSpecialDays, "春", 0, ""});
  std::vector<DatedEntry> entries;
  EXPECT_EQ(ListScheduleEntries(years, entries), "");
  EXPECT_EQ(entries.size(), 1u);

  AddNewEntry(years, {2026, 2, 30}, {kSpecialDays, "幻", 0, ""});
  entries.clear();
  EXPECT_EQ(ListScheduleEntries(years, entries),
            "the file holds entries for 2026-02-30, which is not a day of the calendar");
  EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace orv::tool
