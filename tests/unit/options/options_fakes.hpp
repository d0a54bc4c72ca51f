#pragma once
// Doubles shared by the options dialog tests.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "options/options_dialog.hpp"
#include "../../support/recording_calendar_view.hpp"
#include "../../support/scripted_prompts.hpp"
#include "../../support/temp_dir.hpp"

namespace orv::test {

class FakePicture : public Picture {
public:
  int Width() const override { return 8; }
  int Height() const override { return 6; }
};

// Files whose content begins with "PIC" are pictures; anything else fails to load.
class FakePictures : public PictureLoader {
public:
  std::vector<std::string> loaded;
  LoadedPicture Load(const std::string& path) override {
    loaded.push_back(path);
    if (ReadBytes(path).starts_with("PIC")) return {std::make_shared<FakePicture>(), {}};
    return {nullptr, {481, "Invalid picture"}};
  }
};

// One log for the calendar and the wheel hook, so tests see the order of their calls.
struct CallLog {
  std::vector<std::string> calls;
};

class LoggingCalendar : public CalendarView {
public:
  LoggingCalendar(CallLog& log, const AppState& state) : log_(log), state_(state) {}
  void dsDrawCalendar() override {
    log_.calls.push_back("draw key=" + state_.SelectedThemeKey +
                         " width=" + std::to_string(state_.CurrentTheme.FullWidth) +
                         " scroll=" + std::to_string(state_.ScrollMode) +
                         " today=" + std::to_string(state_.TodayStart) +
                         " holidays=" + std::to_string(state_.ShowHolidays));
    if (on_draw) on_draw();
  }
  void dsDrawCalendarDays() override { log_.calls.push_back("days"); }
  std::function<void()> on_draw;  // looks at the state as the redraw finds it

private:
  CallLog& log_;
  const AppState& state_;
};

class LoggingWheel : public WheelHookSwitch {
public:
  LoggingWheel(CallLog& log, const AppState& state) : log_(log), state_(state) {}
  std::int32_t RegisterWheelMessage() override {
    log_.calls.push_back("register");
    return 0xC123;
  }
  void HookCalendarWheel() override {
    log_.calls.push_back("hook step=" + std::to_string(state_.MicrosoftWheelMouseChange));
  }
  void UnhookCalendarWheel() override {
    log_.calls.push_back("unhook step=" + std::to_string(state_.MicrosoftWheelMouseChange));
  }

private:
  CallLog& log_;
  const AppState& state_;
};

inline const std::string kUtf8Bom = "\xEF\xBB\xBF";
inline const std::string kThemeSizes =
    "[PixelSize]\r\nFullWidth=300\r\nMiniWidth=150\r\nLastweekHeight=20\r\nNextweekHeight=21\r\n"
    "MonthWidth=80\r\nDayHeight=24\r\n";

// A loadable theme file with the given "Head" lines.
inline std::string WriteTheme(const TempDir& dir, const std::string& name, const std::string& head) {
  std::string path = dir.File(name);
  WriteBytes(path, kUtf8Bom + "[Head]\r\n" + head + kThemeSizes);
  return path;
}

// Such a theme file installed in `state`'s theme list under the next key; that key.
inline std::string InstallTheme(AppState& state, const TempDir& dir, const std::string& name, const std::string& head = "") {
  std::string key = NextThemeKey(state.ThemeList);
  state.ThemeList.Add(key)->IniFilePath = WriteTheme(dir, name, head);
  return key;
}

}  // namespace orv::test
