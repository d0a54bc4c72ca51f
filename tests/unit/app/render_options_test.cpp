#include "app/render_options.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(RenderOptionsTest, ReadsEveryOptionAndKeepsTheDefaults) {
  auto parsed = ParseRenderOptions({"--render", "out.png", "--mode", "2", "--start", "2026-03-31",
                                    "--today", "2026-04-02", "--height", "768", "--data", "a.ORV",
                                    "--theme", "t.INI", "--wallpaper", "w.jpg", "--style", "tile"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.output, "out.png");
  EXPECT_EQ(parsed.options.mode, 2);
  EXPECT_EQ(parsed.options.start, MakeDate(2026, 3, 31));
  EXPECT_EQ(parsed.options.today, MakeDate(2026, 4, 2));
  EXPECT_EQ(parsed.options.height, 768);
  EXPECT_EQ(parsed.options.style, "tile");
  auto plain = ParseRenderOptions({"--render", "x.bmp"});
  ASSERT_EQ(plain.error, "");
  EXPECT_EQ(plain.options.height, 1080);
  EXPECT_EQ(plain.options.mode, 0);
  EXPECT_FALSE(plain.options.start.has_value());
  EXPECT_TRUE(WantsRender({"orvanta.exe", "--render", "x.png"}));
  EXPECT_FALSE(WantsRender({"orvanta.exe", "/Debug:PLUM-TREE"}));
}

TEST(RenderOptionsTest, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"--render"},
      {"--mode", "1"},
      {"--render", "x.png", "--mode", "3"},
      {"--render", "x.png", "--start", "2026-02-30"},
      {"--render", "x.png", "--start", "26-2-3"},
      {"--render", "x.png", "--height", "12.5"},
      {"--render", "x.png", "--height", "99999"},
      {"--render", "x.png", "--style", "fill"},
      {"--render", "x.png", "--colour", "red"},
      {"--render", "x.png", "stray"},
  };
  for (const auto& args : bad) EXPECT_NE(ParseRenderOptions(args).error, "") << args.back();
}

}  // namespace
}  // namespace orv
