#pragma once
// The program state and the test doubles every dialog test needs.
#include <gtest/gtest.h>

#include "core/app_state.hpp"
#include "platform/settings_store.hpp"
#include "support/fake_desktop_facts.hpp"
#include "support/plain_number_conversion.hpp"
#include "support/recording_calendar_view.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_dir.hpp"

namespace orv::test {

class DialogTest : public ::testing::Test {
protected:
  DialogTest() { state.UserDataPath = dir.File("user.orv"); }

  PaymentData& AddPayment(Date date, const char* title, std::int32_t price, int kind) {
    DayData& day = GetOrCreateDay(state.Years, SplitDate(date));
    auto& p = *day.PaymentDatas.Add(NextPaymentKey(day));
    p.strTitle = title;
    p.lngPrice = price;
    p.Payment = kind;
    RecalcPaymentTotals(day);
    return p;
  }
  SpecialData& AddSpecial(Date date, const char* title, const char* comment, bool very) {
    DayData& day = GetOrCreateDay(state.Years, SplitDate(date));
    auto& s = *day.SpecialDatas.Add(NextSpecialKey(day));
    s.strSpecial = title;
    s.strComment = comment;
    s.blnSpecial = very;
    RecalcSpecialTotals(day);
    return s;
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
