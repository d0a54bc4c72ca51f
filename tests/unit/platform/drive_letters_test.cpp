#include <gtest/gtest.h>

#include "platform/windows_path.hpp"

namespace orv {
namespace {

// A volume that arrives or leaves names its drive letters as bits: the wallpaper's folder is
// watched again when its own drive comes back, not when another one does.
TEST(OnDriveOfTest, MatchesTheFoldersOwnLetterInEitherCase) {
  constexpr std::uint32_t kE = 1u << 4, kZ = 1u << 25;
  EXPECT_TRUE(OnDriveOf("E:\\Pictures\\wall.jpg", kE));
  EXPECT_TRUE(OnDriveOf("e:\\", kE | kZ));
  EXPECT_TRUE(OnDriveOf("Z:\\w.bmp", kZ));
  EXPECT_FALSE(OnDriveOf("D:\\Pictures", kE));
  EXPECT_FALSE(OnDriveOf("E:\\Pictures", 0));
  EXPECT_FALSE(OnDriveOf("\\\\srv\\share\\w.jpg", ~0u));  // a share has no letter
  EXPECT_FALSE(OnDriveOf("E:relative.jpg", ~0u));
  EXPECT_FALSE(OnDriveOf("", ~0u));
}

}  // namespace
}  // namespace orv
