// The input dialog under Wine: texts by kind, refused input keeps the dialog, accepted input
// adds the entry, and a Shift key event before OK stores the name as a preset.
#include "dialogs/win32/add_entry_windows.hpp"

#include <gtest/gtest.h>

#include "../../support/plain_number_conversion.hpp"
#include "../../support/scripted_prompts.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

std::string Text(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return WideToUtf8(text);
}

// Runs the messages waiting for this thread's windows.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SetShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

struct InputFixture : ::testing::Test {
  AppState state;
  test::PlainNumberConversion numbers;
  test::ScriptedPrompts prompts;
  MemorySettingsStore store;
  InputDialogModel model{state, numbers, prompts, store};
  Win32Prompts owner_prompts;
  EntryIconSets icons;
  InputWindow window{model, owner_prompts, &icons};
  const Date day = MakeDate(2026, 3, 8);

  HWND Open(int kind) {
    model.Open(day, InputRequest{kind, std::nullopt});
    return window.Create(nullptr, 10, 10);
  }
  void Type(HWND dialog, const wchar_t* name, const wchar_t* amount) {
    SetDlgItemTextW(dialog, InputWindow::kText0Id, name);
    SetDlgItemTextW(dialog, InputWindow::kText1Id, amount);
  }
  static void PressOK(HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
  const DayData* Day() const { return FindDay(state.Years, SplitDate(day)); }
};

TEST_F(InputFixture, CashPaymentTextsAndRefusedAmountsKeepTheDialog) {
  HWND dialog = Open(kCashPayments);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog), "3月8日 - 予定の追加（入力）");
  EXPECT_EQ(Text(GetDlgItem(dialog, InputWindow::kMessageId)), "現金支払いの内容を入力してください");
  EXPECT_EQ(Text(GetDlgItem(dialog, InputWindow::kCaption0Id)), "支払いの名称(&N):");
  EXPECT_EQ(Text(GetDlgItem(dialog, InputWindow::kCaption1Id)), "金額(&P):");
  for (const wchar_t* amount : {L"0", L"abc", L""}) {
    Type(dialog, L"家賃", amount);
    PressOK(dialog);
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_EQ(Text(GetDlgItem(dialog, InputWindow::kText0Id)), "家賃");
  }
  EXPECT_EQ(prompts.messages.size(), 3u);
  EXPECT_EQ(Day(), nullptr);
  Type(dialog, L"", L"1500");
  PressOK(dialog);
  EXPECT_FALSE(IsWindow(dialog));
  ASSERT_NE(Day(), nullptr);
  EXPECT_EQ(Day()->TotalPaymentPrice, 1500);
  EXPECT_EQ(state.DefaultUserLists[kCashPayments].Count(), 0);
}

// imgIcon32 holds the kind's picture of the 64-pixel set and paints it.
TEST_F(InputFixture, IconShowsTheKindFromTheLargeSet) {
  for (int kind : {kAutomaticTransfers, kCashPayments, kVerySpecialDays, kSpecialDays}) {
    HWND dialog = Open(kind);
    ASSERT_NE(dialog, nullptr);
    IPicture* shown = window.PictureOf(InputWindow::kIconId);
    EXPECT_EQ(shown, icons.GetIconPicture(1, kind)) << kind;
    EXPECT_NE(shown, nullptr);
    HWND box = GetDlgItem(dialog, InputWindow::kIconId);
    RECT r{};
    GetClientRect(box, &r);
    EXPECT_EQ(r.right, 64);
    EXPECT_EQ(r.bottom, 64);
    DestroyWindow(dialog);
  }
}

TEST_F(InputFixture, ShiftBeforeOKStoresTheTitleAsAPreset) {
  state.ShiftAuto = true;
  HWND dialog = Open(kSpecialDays);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(GetDlgItem(dialog, InputWindow::kCaption0Id)), "タイトル(&T):");
  Type(dialog, L"", L"comment");
  PressOK(dialog);  // an empty title is refused
  ASSERT_TRUE(IsWindow(dialog));
  Type(dialog, L"誕生日", L"");
  SetShift(true);
  SendMessageW(GetDlgItem(dialog, InputWindow::kText1Id), WM_KEYDOWN, VK_SHIFT, 1);
  SetShift(false);
  PressOK(dialog);
  EXPECT_FALSE(IsWindow(dialog));
  ASSERT_NE(Day(), nullptr);
  EXPECT_EQ(Day()->SpecialDatas.At(1)->strSpecial, "誕生日");
  ASSERT_EQ(state.DefaultUserLists[kSpecialDays].Count(), 1);
  EXPECT_EQ(state.DefaultUserLists[kSpecialDays].At(1)->strValue1, "誕生日");
}

// The focus rule runs when the dialog first shows. Leaving it and coming back (the refusal
// message, another program) keeps the focus where the user put it and a Shift already held.
TEST_F(InputFixture, ComingBackToTheDialogKeepsTheFocusAndTheShift) {
  state.ShiftAuto = true;
  model.Open(day, InputRequest{kCashPayments, std::string("電気")});
  HWND dialog = window.Create(nullptr, 10, 10);
  ASSERT_NE(dialog, nullptr);
  HWND name = GetDlgItem(dialog, InputWindow::kText0Id);
  HWND amount = GetDlgItem(dialog, InputWindow::kText1Id);
  Pump();
  EXPECT_EQ(GetFocus(), amount) << "first shown with a name: the amount's turn";
  SetDlgItemTextW(dialog, InputWindow::kText1Id, L"1500");
  SetFocus(name);
  SetShift(true);
  SendMessageW(name, WM_KEYDOWN, VK_SHIFT, 1);
  SetShift(false);
  SendMessageW(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
  SendMessageW(dialog, WM_ACTIVATE, WA_ACTIVE, 0);  // back again, both boxes filled
  Pump();
  EXPECT_EQ(GetFocus(), name);
  PressOK(dialog);
  EXPECT_FALSE(IsWindow(dialog));
  ASSERT_EQ(state.DefaultUserLists[kCashPayments].Count(), 1) << "the Shift was kept";
  EXPECT_EQ(state.DefaultUserLists[kCashPayments].At(1)->strValue1, "電気");
}

}  // namespace
}  // namespace orv
