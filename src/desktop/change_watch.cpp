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

std::chrono::milliseconds UntilDateChange(std::chrono::sys_time<std::chrono::milliseconds> now,
                                          const LocalTimeOf& local_time_of) {
  using namespace std::chrono;
  const auto date_at = [&](sys_time<milliseconds> t) { return floor<days>(local_time_of(t)); };
  const local_days today = date_at(now);
  // Step to where the clock face would show midnight if the offset held: a change back
  // before midnight leaves the date as it was (step again from there), a change forward
  // lands past it. Zones change their offset a few times a year, so a few steps do.
  sys_time<milliseconds> same = now;  // the date is still today's here
  sys_time<milliseconds> other = now;
  bool found = false;
  for (int step = 0; step < 8 && !found; ++step) {
    const milliseconds to_midnight = (today + days(1)) - local_time_of(same);
    other = same + std::max(to_midnight, milliseconds(1));
    if (date_at(other) != today) {
      found = true;
    } else {
      same = other;
    }
  }
  if (!found) return hours(24);  // a clock face that never turns: look again tomorrow
  // The date changed somewhere in (same, other]: the first instant of the new date. Past a
  // jump forward across midnight that is the jump itself, before the step's end.
  while (other - same > milliseconds(1)) {
    const auto middle = same + (other - same) / 2;
    (date_at(middle) != today ? other : same) = middle;
  }
  return std::max(duration_cast<milliseconds>(other - now), milliseconds(1));
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
