#include "desktop/change_watch.hpp"

#include <algorithm>
#include <cctype>

namespace orv {
namespace {

std::string Folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

WatchResponse RespondTo(WatchEvent event) {
  switch (event) {
    case WatchEvent::kDesktopSettings:
    case WatchEvent::kFolder:
    case WatchEvent::kLateFileAnswer:
    case WatchEvent::kMidnight:
      return {.check = true, .rearm_midnight = event == WatchEvent::kMidnight};
    case WatchEvent::kDesktopColors:
    case WatchEvent::kSettingChange:
    case WatchEvent::kSysColorChange:
      return {.check = true, .copy = true};
    case WatchEvent::kDisplayChange: return {.check = true, .copy = true, .rescale = true};
    // The clock may have moved past a midnight while nobody looked (or the machine slept
    // through one): the date is looked at now, and the timer set from the new time.
    case WatchEvent::kClockSet:
    case WatchEvent::kResume:
    case WatchEvent::kUnlock:
      return {.check = true, .rearm_midnight = true};
  }
  return {.check = true};
}

std::chrono::milliseconds UntilNextMidnight(std::chrono::milliseconds since_local_midnight,
                                            std::chrono::minutes offset_now, std::chrono::minutes offset_at_midnight) {
  using namespace std::chrono;
  constexpr milliseconds kDay = hours(24);
  const milliseconds into_day = ((since_local_midnight % kDay) + kDay) % kDay;
  const milliseconds wait = kDay - into_day - (offset_at_midnight - offset_now);
  return std::max(wait, milliseconds(1));
}

std::vector<std::string> FoldersToWatch(std::string_view wallpaper, std::string_view transcoded) {
  std::vector<std::string> folders;
  for (std::string_view path : {wallpaper, transcoded}) {
    std::string folder = path.empty() ? std::string() : FolderOf(path);
    if (folder.empty()) continue;
    const bool known = std::any_of(folders.begin(), folders.end(),
                                   [&](const std::string& f) { return Folded(f) == Folded(folder); });
    if (!known) folders.push_back(std::move(folder));
  }
  return folders;
}

}  // namespace orv
