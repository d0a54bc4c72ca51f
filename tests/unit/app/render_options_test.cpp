#include "app/render_options.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(RenderOptionsTest, ReadsEveryOptionAndKeepsTheDefaults) {
  auto parsed = ParseRenderOptions({"--render", "out.png", "--mode", "2", "--start", "2026-03-31",
                                    "--today", "2026-04-02", "--height", "768", "--data", "a.ORV",
                                    "--theme", "t.INI", "--wallpaper", "w.jpg", "--style", "tile", "--screen", "1366x768",
                                    "--scale", "175"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.output, "out.png");
  EXPECT_EQ(parsed.options.mode, 2);
  EXPECT_EQ(parsed.options.start, MakeDate(2026, 3, 31));
  EXPECT_EQ(parsed.options.today, MakeDate(2026, 4, 2));
  EXPECT_EQ(parsed.options.height, 768);
  EXPECT_EQ(parsed.options.style, "tile");
  EXPECT_EQ(parsed.options.screen, (std::pair{1366, 768}));
  EXPECT_EQ(parsed.options.scale, 175);
  for (const char* style : {"fill", "fit", "span", "stretch", "center", "tile"})
    EXPECT_EQ(ParseRenderOptions({"--render", "x.png", "--style", style}).error, "") << style;
  auto plain = ParseRenderOptions({"--render", "x.bmp"});
  ASSERT_EQ(plain.error, "");
  EXPECT_EQ(plain.options.height, 1080);
  EXPECT_EQ(plain.options.mode, 0);
  EXPECT_EQ(plain.options.scale, 100);
  EXPECT_FALSE(plain.options.start.has_value());
  EXPECT_FALSE(plain.options.screen.has_value());  // the real screen
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
      {"--render", "x.png", "--style", "centre"},
      {"--render", "x.png", "--screen", "1920"},
      {"--render", "x.png", "--screen", "1920x"},
      {"--render", "x.png", "--screen", "50x50"},
      {"--render", "x.png", "--screen", "1920.5x1080"},
      {"--render", "x.png", "--scale", "150%"},
      {"--render", "x.png", "--scale", "12.5"},
      {"--render", "x.png", "--scale", "40"},
      {"--render", "x.png", "--scale", "1000"},
      {"--render", "x.png", "--colour", "red"},
      {"--render", "x.png", "stray"},
  };
  for (const auto& args : bad) EXPECT_NE(ParseRenderOptions(args).error, "") << args.back();
}

}  // namespace
}  // namespace orv
