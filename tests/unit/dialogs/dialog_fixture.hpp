#pragma once
// The program state and the test doubles every dialog test needs.
#include <gtest/gtest.h>

#include "core/app_state.hpp"
#include "platform/settings_store.hpp"
#include "support/fake_desktop_facts.hpp"
#include "support/plain_number_conversion.hpp"
#include "support/recording_calendar_view.hpp"
#include "support/schedule_entries.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_dir.hpp"

namespace orv::test {

class DialogTest : public ::testing::Test {
protected:
  DialogTest() { state.UserDataPath = dir.File("user.orv"); }

  void AddPayment(Date date, const char* title, std::int32_t price, int kind) {
    test::AddPayment(state.Years, date, title, price, kind);
  }
  void AddSpecial(Date date, const char* title, const char* comment, bool very) {
    test::AddSpecial(state.Years, date, title, very, comment);
  }
  DayData* Day(Date date) { return FindDay(state.Years, SplitDate(date)); }

  TempDir dir;
  AppState state;
  ScriptedPrompts prompts;
  MemorySettingsStore store;
  FakeDesktopFacts regional;
  PlainNumberConversion numbers;
  RecordingCalendarView calendar;
};

}  // namespace orv::test
