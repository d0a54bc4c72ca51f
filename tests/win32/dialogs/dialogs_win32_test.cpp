// The dialogs' Win32 adapters under Wine with the Japanese locale: the typed-number
// conversion by the regional settings, the currency format the rows show, and the prompts'
// translation to the system's flags.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_number_conversion.hpp"
#include "platform/win32/win32_prompts.hpp"

namespace orv {
namespace {

TEST(Win32NumberConversion, AcceptsWhatTheRegionalSettingsAllowAndRefusesTheRest) {
  ASSERT_EQ(GetUserDefaultLCID(), 0x0411u) << "the test prefix runs with the Japanese locale";
  Win32NumberConversion numbers;
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"1500", 1500},
      {" -300 ", -300},
      {"+7", 7},
      {"1,500", 1500},  // digit grouping
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"12abc", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(numbers.ToLong(c.text), c.value) << c.text;
}

TEST(Win32Prompts, FlagsAndFilter) {
  EXPECT_EQ(MessageBoxFlags(MessageIcon::Question, MessageButtons::OkCancel) & 0xFF,
            static_cast<UINT>(MB_ICONQUESTION | MB_OKCANCEL));
  EXPECT_EQ(MessageBoxFlags(MessageIcon::Critical, MessageButtons::Ok) & 0xFF,
            static_cast<UINT>(MB_ICONERROR | MB_OK));
  EXPECT_EQ(MessageBoxFlags(MessageIcon::Information, MessageButtons::Ok) & 0xFF,
            static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(OpenFileFilter("データ (*.orv)|*.orv"), std::wstring(L"データ (*.orv)\0*.orv\0\0", 19));
}

}  // namespace
}  // namespace orv
