// The exported iCalendar read by an independent parser (libical): what another calendar
// program would see, beyond our own reading of the format.
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <memory>
#include <set>

#include "schedule/new_entry.hpp"
#include "tools/orvtool/icalendar_writer.hpp"

namespace orv::tool {
namespace {

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

std::string DateText(icaltimetype t) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
  return text;
}

TEST(ICalendarWithLibical, EveryEventParsesWithoutErrorsAndSaysWhatTheScheduleSays) {
  const std::string long_title(40, 'x');
  std::string long_comment;
  for (int i = 0; i < 30; ++i) long_comment += "長いコメント、";  // folded several times
  struct Expected {
    DateParts date;
    NewEntry entry;
    std::string summary;
  } expected[] = {
      {{2026, 12, 31},
       {kAutomaticTransfers, "家賃; 駐車場, 管理費\\共益費", 123456, {}},
       "家賃; 駐車場, 管理費\\共益費 123,456円 (自動振替)"},
      {{2026, 12, 31}, {kCashPayments, long_title, -5, {}}, long_title + " -5円 (現金)"},
      {{2024, 2, 29},
       {kVerySpecialDays, "うるう日", 0, "一行目\r\n二行目, \"引用\"; " + long_comment},
       "うるう日"},
      {{2024, 2, 29}, {kSpecialDays, "普通の日", 0, ""}, "普通の日"},
  };
  YearDatas years;
  for (const auto& e : expected) AddNewEntry(years, e.date, e.entry);
  std::vector<DatedEntry> entries;
  ASSERT_EQ(ListScheduleEntries(years, entries), "");
  const std::string text = WriteICalendar(entries, FileUidPart("/home/me/家計.ORV"));

  Component calendar(icalparser_parse_string(text.c_str()));
  ASSERT_TRUE(calendar);
  EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
  EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0)
      << icalcomponent_as_ical_string(calendar.get());
  EXPECT_STREQ(icalproperty_get_version(
                   icalcomponent_get_first_property(calendar.get(), ICAL_VERSION_PROPERTY)),
               "2.0");
  EXPECT_STREQ(icalproperty_get_prodid(
                   icalcomponent_get_first_property(calendar.get(), ICAL_PRODID_PROPERTY)),
               "-//Orvanta//orvtool//JA");

  std::set<std::string> uids;
  std::size_t n = 0;
  for (icalcomponent* event =
           icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
       event;
       event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT), ++n) {
    ASSERT_LT(n, std::size(expected));
    // File order: the 2026 day was created first.
    const Expected& e = expected[n];
    SCOPED_TRACE(e.summary);
    EXPECT_EQ(icalcomponent_count_errors(event), 0);
    EXPECT_STREQ(icalcomponent_get_summary(event), e.summary.c_str());
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const icaltimetype end = icalcomponent_get_dtend(event);
    EXPECT_TRUE(start.is_date);
    EXPECT_TRUE(end.is_date);
    EXPECT_EQ(DateText(start), IsoDate(e.date));
    EXPECT_EQ(icaltime_as_timet(end) - icaltime_as_timet(start), 24 * 60 * 60);
    EXPECT_EQ(icaltime_as_timet(icalcomponent_get_dtstamp(event)),
              icaltime_as_timet(icaltime_from_string("20000101T000000Z")));
    uids.insert(icalcomponent_get_uid(event));

    icalproperty* priority = icalcomponent_get_first_property(event, ICAL_PRIORITY_PROPERTY);
    const char* description = icalcomponent_get_description(event);
    if (e.entry.kind == kVerySpecialDays) {
      ASSERT_TRUE(priority);
      EXPECT_EQ(icalproperty_get_priority(priority), 1);
    } else {
      EXPECT_FALSE(priority);
    }
    if (e.entry.comment.empty()) {
      EXPECT_EQ(description, nullptr);
    } else {
      // Line breaks come back as LF, the one line break iCalendar text knows.
      ASSERT_NE(description, nullptr);
      EXPECT_EQ(std::string(description), "一行目\n二行目, \"引用\"; " + long_comment);
    }
  }
  EXPECT_EQ(n, std::size(expected));
  EXPECT_EQ(uids.size(), n);
}

}  // namespace
}  // namespace orv::tool
