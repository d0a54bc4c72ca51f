#include "tools/orvtool/holiday_command.hpp"

#include <gtest/gtest.h>

namespace orv::tool {
namespace {

constexpr int kThisYear = 2026;

TEST(HolidaysCommand, YearsAndTheirMistakes) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* first_line;  // of out, or a piece of err
    std::size_t lines;
  } cases[] = {
      {{}, 0, "2026-01-01,元日\n", 18},
      {{"--from", "2019", "--to", "2019"}, 0, "2019-01-01,元日\n", 22},
      {{"--from", "2025", "--to", "2027"}, 0, "2025-01-01,元日\n", 19 + 18 + 17},
      {{"--from", "2030"}, 0, "2030-01-01,元日\n", 19},  // one end given: the other follows it
      {{"--to", "2025"}, 0, "2025-01-01,元日\n", 19},
      {{"--from", "1900", "--to", "1948"}, 0, "1948-09-23,秋分の日\n", 3},
      {{"--from", "20x6"}, 2, "\"20x6\" is not a year", 0},
      {{"--from", "0"}, 2, "is not a year from 1 to 9999", 0},
      {{"--to", "10000"}, 2, "is not a year", 0},
      {{"--from", "2027", "--to", "2026"}, 2, "--from 2027 comes after --to 2026", 0},
      {{"--from"}, 2, "usage: orvtool holidays", 0},
      {{"2026"}, 2, "usage: orvtool holidays", 0},
  };
  for (const Case& c : cases) {
    std::string out, err;
    const std::string what = c.args.empty() ? "(none)" : c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : "");
    EXPECT_EQ(RunHolidaysCommand(c.args, kThisYear, out, err), c.code) << what;
    if (c.code == 0) {
      EXPECT_TRUE(out.starts_with(c.first_line)) << what << ": " << out.substr(0, 40);
      EXPECT_EQ(static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')), c.lines) << what;
      EXPECT_EQ(out.find('\r'), std::string::npos);
      EXPECT_EQ(err, "");
    } else {
      EXPECT_NE(err.find(c.first_line), std::string::npos) << what << ": " << err;
      EXPECT_EQ(out, "");
    }
  }
}

TEST(HolidaysCommand, LinesAreInDateOrderWithTheDerivedDaysNamed) {
  std::string out, err;
  ASSERT_EQ(RunHolidaysCommand({"--from", "2026", "--to", "2026"}, kThisYear, out, err), 0);
  EXPECT_NE(out.find("2026-05-05,こどもの日\n2026-05-06,振替休日\n"), std::string::npos);
  EXPECT_NE(out.find("2026-09-21,敬老の日\n2026-09-22,国民の休日\n2026-09-23,秋分の日\n"), std::string::npos);
  EXPECT_TRUE(out.ends_with("2026-11-23,勤労感謝の日\n"));
}

TEST(BusinessDayCommand, DatesDirectionsAndMistakes) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* text;  // out, or a piece of err
  } cases[] = {
      {{"2026-12-31", "--next"}, 0, "2027-01-04\n"},
      {{"--previous", "2027-01-01"}, 0, "2026-12-30\n"},
      {{"2026/5/2", "--next"}, 0, "2026-05-07\n"},
      {{"2026-12-30", "--previous"}, 0, "2026-12-30\n"},
      {{"2026-02-30", "--next"}, 2, "\"2026-02-30\" is not a day of the calendar"},
      {{"26-1-1", "--next"}, 2, "is not written as YYYY-MM-DD"},
      {{"2026-01-05"}, 2, "usage: orvtool business-day"},
      {{"2026-01-05", "--next", "--previous"}, 2, "usage: orvtool business-day"},
      {{"2026-01-05", "2026-01-06", "--next"}, 2, "usage: orvtool business-day"},
      {{"2026-01-05", "--later"}, 2, "usage: orvtool business-day"},
  };
  for (const Case& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunBusinessDayCommand(c.args, out, err), c.code) << c.args[0];
    if (c.code == 0) {
      EXPECT_EQ(out, c.text);
    } else {
      EXPECT_NE(err.find(c.text), std::string::npos) << c.args[0] << ": " << err;
      EXPECT_EQ(out, "");
    }
  }
}

}  // namespace
}  // namespace orv::tool
