#include "platform/accessible_text.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(AccessibleText, LabelsLoseTheirMnemonicMarkersButKeepDoubledAmpersands) {
  const struct {
    const char* label;
    const char* read;
  } cases[] = {
      {"支払いの名称(&N):", "支払いの名称(N):"}, {"&Save", "Save"},   {"A && B", "A & B"},
      {"&&&x", "&x"},                            {"trailing&", "trailing"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(WithoutMnemonic(c.label), c.read) << c.label;
}

TEST(AccessibleText, PositionIsReadOnlyForAnItemThatExists) {
  EXPECT_EQ(ItemPositionText(3, 12), "12 項目中 3 番目");
  EXPECT_EQ(ItemPositionText(1, 1), "1 項目中 1 番目");
  EXPECT_EQ(ItemPositionText(0, 5), "");
  EXPECT_EQ(ItemPositionText(6, 5), "");
  EXPECT_EQ(ItemPositionText(1, 0), "");
}

}  // namespace
}  // namespace orv
