#pragma once
// When the desktop watch looks: the system tells of each change the calendar follows (a
// setting written, a file in the wallpaper's folder written, the display or the work area
// changed, the clock set), so nothing wakes the program while the desktop stays as it is.
// The one timer left is the one that marks the next local midnight for the date. The watch
// itself (CheckWallpaper) still judges whether anything it compares has changed; this only
// decides when it runs.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_path.hpp"

namespace orv {

enum class WatchEvent {
  kDesktopSettings,  // a value under "Control Panel\Desktop" was written
  kDesktopColors,    // a value under "Control Panel\Colors" was written
  kFolder,           // something in a watched folder changed (the wallpaper's, the shell's copy's)
  kSettingChange,    // the system announced a desktop setting (wallpaper, pattern, work area)
  kSysColorChange,   // the system colours changed
  kDisplayChange,    // monitors or their scale changed
  kMidnight,         // the date timer came
  kClockSet,         // the system time or time zone was set
  kResume,           // the machine woke from sleep
  kUnlock,           // the user's session was unlocked (or connected again)
  kLateFileAnswer,   // the wallpaper file answered after the watch stopped waiting for it
};

struct WatchResponse {
  bool check = false;           // run the watch: compare and copy only what changed
  bool copy = false;            // copy the desktop afresh whatever the watch finds
  bool rescale = false;         // lay everything out again at the screen's scale
  bool rearm_midnight = false;  // the time to the next midnight may be another now
};

WatchResponse RespondTo(WatchEvent event);

// Milliseconds from a local time of day to the next local midnight. `offset_now` and
// `offset_at_midnight` are local time minus UTC now and at that midnight: across a change to
// or from daylight-saving time they differ, and the real wait is an hour shorter or longer
// than the clock face shows. Never less than 1 ms.
std::chrono::milliseconds UntilNextMidnight(std::chrono::milliseconds since_local_midnight,
                                            std::chrono::minutes offset_now, std::chrono::minutes offset_at_midnight);

// The folders whose changes may change the picture shown: the wallpaper file's and the
// shell's copy's, each once (names compare without regard to case).
std::vector<std::string> FoldersToWatch(std::string_view wallpaper, std::string_view transcoded);

}  // namespace orv
