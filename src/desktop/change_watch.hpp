#pragma once
// When the desktop watch looks: the system tells of each change the calendar follows (a
// setting written, a file in the wallpaper's folder written, the display or the work area
// changed, the clock set), so nothing wakes the program while the desktop stays as it is.
// The one timer left is the one that marks the next local midnight for the date. The watch
// itself (CheckWallpaper) still judges whether anything it compares has changed; this only
// decides when it runs.
#include <chrono>
#include <functional>
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

// The clock face: the local date and time at an instant, by the time zone's rules for that
// instant. Always defined, unlike the way back: a local time skipped by a change to
// daylight-saving time has no instant, one repeated by the change back has two.
using LocalTimeOf = std::function<std::chrono::local_time<std::chrono::milliseconds>(
    std::chrono::sys_time<std::chrono::milliseconds>)>;

// Milliseconds from `now` to the first instant whose local date differs from now's. That is
// local midnight on most nights; where daylight-saving time begins at midnight the clock
// jumps from 23:59:59 straight to 01:00 and the date changes then, where it ends there the
// clock may show midnight twice. Never less than 1 ms.
std::chrono::milliseconds UntilDateChange(std::chrono::sys_time<std::chrono::milliseconds> now,
                                          const LocalTimeOf& local_time_of);

// The folders whose changes may change the picture shown: the wallpaper file's and the
// shell's copy's, each once (names compare without regard to case).
std::vector<std::string> FoldersToWatch(std::string_view wallpaper, std::string_view transcoded);

}  // namespace orv
