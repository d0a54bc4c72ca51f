#include "desktop/wheel.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr unsigned kRoll = 0xC123;  // a registered message id

std::uint64_t StandardWParam(int delta) {
  return static_cast<std::uint64_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(delta))) << 16;
}

TEST(WheelTest, StepTablePerSlot) {
  EXPECT_EQ(WheelStep(WheelSlot::Calendar, 0), 7);
  EXPECT_EQ(WheelStep(WheelSlot::Calendar, 1), 1);
  EXPECT_EQ(WheelStep(WheelSlot::Calendar, 2), 0);
  EXPECT_EQ(WheelStep(WheelSlot::AddDialog, 0), 5);
  EXPECT_EQ(WheelStep(WheelSlot::AddDialog, 1), 1);
  EXPECT_EQ(WheelStep(WheelSlot::AddDialog, -1), 0);
}

TEST(WheelTest, RotationOfBothMessagesAndNoneForOthers) {
  EXPECT_EQ(WheelRotation(kStandardWheelMessage, StandardWParam(-120), kRoll), -120);
  EXPECT_EQ(WheelRotation(kStandardWheelMessage, StandardWParam(240) | 0x8, kRoll), 240);
  EXPECT_EQ(WheelRotation(kRoll, 3, kRoll), 3);
  EXPECT_EQ(WheelRotation(kRoll, static_cast<std::uint64_t>(-1), kRoll), -1);
  EXPECT_EQ(WheelRotation(0x0200, 0, kRoll), std::nullopt);
  EXPECT_EQ(WheelRotation(0, 0, 0), std::nullopt);  // an unregistered id never matches
}

TEST(WheelTest, SignChoosesTheDirectionAndTheRangeClamps) {
  EXPECT_EQ(WheelValue(0, -120, 7, -28, 28), 7);  // toward the user: forward
  EXPECT_EQ(WheelValue(0, 0, 7, -28, 28), 7);
  EXPECT_EQ(WheelValue(0, 120, 1, -28, 28), -1);
  EXPECT_EQ(WheelValue(28, -120, 7, -28, 28), 28);
  EXPECT_EQ(WheelValue(-25, 5, 7, -28, 28), -28);
  // The add-entry list: 3 items, item 2 selected, step 5.
  EXPECT_EQ(WheelValue(2, -120, 5, 1, 3), 3);
  EXPECT_EQ(WheelValue(2, 120, 5, 1, 3), 1);
  EXPECT_EQ(WheelValue(0, -120, 5, 1, 0), 0);  // an empty list
}

}  // namespace
}  // namespace orv
