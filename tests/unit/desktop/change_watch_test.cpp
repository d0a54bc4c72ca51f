#include "desktop/change_watch.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace std::chrono;

TEST(UntilNextMidnight, CountsToTheNextLocalMidnightAcrossClockChanges) {
  const minutes winter{60}, summer{120};  // local time minus UTC
  EXPECT_EQ(UntilNextMidnight(hours(23) + minutes(59) + seconds(59) + milliseconds(500), winter, winter),
            milliseconds(500));
  EXPECT_EQ(UntilNextMidnight(hours(0), winter, winter), hours(24));  // the date has just changed
  EXPECT_EQ(UntilNextMidnight(hours(12), winter, winter), hours(12));
  // Clocks go forward before the next midnight: the night is an hour shorter; back: longer.
  EXPECT_EQ(UntilNextMidnight(hours(21), winter, summer), hours(2));
  EXPECT_EQ(UntilNextMidnight(hours(21), summer, winter), hours(4));
  // A timer that came a moment early waits out the moment, never nothing at all.
  EXPECT_EQ(UntilNextMidnight(hours(24) - milliseconds(3), winter, winter), milliseconds(3));
  EXPECT_EQ(UntilNextMidnight(hours(23) + minutes(30), winter, summer), milliseconds(1));
}

TEST(WatchEvents, EveryReportLooksAndOnlyClockReportsMoveTheMidnightTimer) {
  const WatchEvent all[] = {WatchEvent::kDesktopSettings, WatchEvent::kDesktopColors, WatchEvent::kFolder,
                            WatchEvent::kSettingChange,   WatchEvent::kSysColorChange, WatchEvent::kDisplayChange,
                            WatchEvent::kMidnight,        WatchEvent::kClockSet,       WatchEvent::kResume,
                            WatchEvent::kUnlock,          WatchEvent::kLateFileAnswer};
  for (WatchEvent e : all) {
    const WatchResponse r = RespondTo(e);
    EXPECT_TRUE(r.check) << static_cast<int>(e);
    const bool clock = e == WatchEvent::kMidnight || e == WatchEvent::kClockSet || e == WatchEvent::kResume ||
                       e == WatchEvent::kUnlock;
    EXPECT_EQ(r.rearm_midnight, clock) << static_cast<int>(e);
    // A file or a setting written is judged by the watch: the same bytes written again cost
    // no copy. Colours have no value the watch compares, so they copy.
    const bool judged = e == WatchEvent::kDesktopSettings || e == WatchEvent::kFolder ||
                        e == WatchEvent::kLateFileAnswer || clock;
    EXPECT_EQ(r.copy, !judged) << static_cast<int>(e);
  }
  EXPECT_TRUE(RespondTo(WatchEvent::kDisplayChange).rescale);
  EXPECT_FALSE(RespondTo(WatchEvent::kSettingChange).rescale);
}

TEST(WatchedFolders, TheWallpapersAndTheShellCopysFolderEachOnce) {
  EXPECT_EQ(FolderOf("C:\\Users\\me\\Pictures\\wall.bmp"), "C:\\Users\\me\\Pictures");
  EXPECT_EQ(FolderOf("C:/Users/me/wall.jpg"), "C:/Users/me");
  EXPECT_EQ(FolderOf("C:\\wall.bmp"), "C:\\");  // a drive's root keeps its separator
  EXPECT_EQ(FolderOf("\\\\server\\share\\wall.bmp"), "\\\\server\\share");
  EXPECT_EQ(FolderOf("\\\\server\\share\\a\\wall.bmp"), "\\\\server\\share\\a");
  EXPECT_EQ(FolderOf("wall.bmp"), "");

  EXPECT_EQ(ParentFolder("C:\\a\\b"), "C:\\a");
  EXPECT_EQ(ParentFolder("C:\\a\\b\\"), "C:\\a");
  EXPECT_EQ(ParentFolder("C:\\a"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\"), "");
  EXPECT_EQ(ParentFolder("\\\\server\\share\\a"), "\\\\server\\share");
  EXPECT_EQ(ParentFolder("\\\\server\\share"), "");
  // Only a drive letter's root can be asked what kind of drive it is.
  EXPECT_EQ(DriveRoot("C:\\Users\\wall.bmp"), "C:\\");
  EXPECT_EQ(DriveRoot("d:/wall.bmp"), "d:\\");
  EXPECT_EQ(DriveRoot("C:wall.bmp"), "");
  EXPECT_EQ(DriveRoot("\\\\server\\share\\wall.bmp"), "");
  EXPECT_EQ(DriveRoot("\\\\?\\C:\\wall.bmp"), "");
  EXPECT_EQ(DriveRoot("wall.bmp"), "");

  const std::string themes = "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper";
  EXPECT_EQ(FoldersToWatch("D:\\pics\\a.jpg", themes),
            (std::vector<std::string>{"D:\\pics", "C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Themes"}));
  // The shell names its own copy as the wallpaper during a slideshow: one folder, whatever the case.
  EXPECT_EQ(FoldersToWatch("c:\\users\\ME\\appdata\\roaming\\microsoft\\windows\\themes\\TranscodedWallpaper", themes)
                .size(),
            1u);
  EXPECT_EQ(FoldersToWatch("", ""), std::vector<std::string>{});
  EXPECT_EQ(FoldersToWatch("wall.bmp", ""), std::vector<std::string>{});
}

}  // namespace
}  // namespace orv
