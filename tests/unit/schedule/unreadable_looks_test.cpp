#include "schedule/unreadable_looks.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

using Next = UnreadableLooks::Next;

struct LooksCase {
  const char* name;
  std::vector<std::int64_t> failures_at;  // ms of each look that could not read the file
  std::vector<Next> expected;
};

// Looks every time the last answer asked for, from `start`, `count` of them.
std::vector<std::int64_t> Paced(std::int64_t start, int count) {
  UnreadableLooks looks;
  std::vector<std::int64_t> at{start};
  while (static_cast<int>(at.size()) < count) at.push_back(at.back() + looks.Failed(at.back()).delay_ms);
  return at;
}

std::vector<Next> Quick() {
  return {{100, false}, {200, false}, {400, false}, {800, false}, {1000, false}, {1000, false}, {1000, false},
          {1000, false}, {1000, false}, {1000, false}, {1000, false}, {1000, false}, {1000, false}, {1000, false}};
}
std::vector<Next> QuickThenTold() {
  std::vector<Next> out = Quick();
  out.push_back({kSlowLookMs, true});
  out.push_back({kSlowLookMs, false});
  out.push_back({kSlowLookMs, false});
  return out;
}

void PrintTo(const LooksCase& c, std::ostream* os) { *os << c.name; }

class UnreadableLooksRule : public testing::TestWithParam<LooksCase> {};

TEST_P(UnreadableLooksRule, QuickLooksThenOneMessageThenASlowerPace) {
  UnreadableLooks looks;
  std::vector<Next> got;
  for (std::int64_t at : GetParam().failures_at) got.push_back(looks.Failed(at));
  EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreadableLooksRule,
    testing::Values(
        // Each look when the last one asked: 14 quick ones over 11.5 s, then the message once.
        LooksCase{"paced", Paced(5000, 17), QuickThenTold()},
        // Change notices bring looks early: many more looks, still no message within the window.
        LooksCase{"notices", {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 11499},
                  [] {
                    std::vector<Next> out = Quick();
                    for (int i = 0; i < 4; ++i) out.push_back({1000, false});
                    return out;
                  }()},
        // Looks put off by an open dialog: the second comes after the window and tells.
        LooksCase{"put_off", {0, 60000, 61000}, {{100, false}, {kSlowLookMs, true}, {kSlowLookMs, false}}}),
    [](const testing::TestParamInfo<LooksCase>& param_info) { return std::string(param_info.param.name); });

TEST(UnreadableLooks, TheWindowIsElevenAndAHalfSeconds) { EXPECT_EQ(UnreadableWindowMs(), 11500); }

TEST(UnreadableLooks, ASpellThatEndedStartsQuickAgainAndIsToldAgain) {
  UnreadableLooks looks;
  EXPECT_FALSE(looks.Failing());
  EXPECT_EQ(looks.Failed(0), (Next{100, false}));
  EXPECT_TRUE(looks.Failing());
  EXPECT_EQ(looks.Failed(20000), (Next{kSlowLookMs, true}));
  looks.Ended();
  EXPECT_FALSE(looks.Failing());
  EXPECT_EQ(looks.Failed(30000), (Next{100, false}));
  EXPECT_EQ(looks.Failed(30100), (Next{200, false}));
  EXPECT_EQ(looks.Failed(41500), (Next{kSlowLookMs, true}));
}

TEST(UnreadableLooks, TheMessageNamesTheFileAndSaysNothingIsLost) {
  const std::string text = UnreadableDataFileText("D:\\同期\\予定.ORV");
  EXPECT_NE(text.find("D:\\同期\\予定.ORV"), std::string::npos);
  EXPECT_NE(text.find("失われません"), std::string::npos);
  EXPECT_NE(text.find("自動的に取り込みます"), std::string::npos);
}

}  // namespace
}  // namespace orv
