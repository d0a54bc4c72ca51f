// The series dialog under Wine: its controls show the form, follow each choice (what does not
// apply is disabled, the preview is the model's), and OK keeps the rule or stays on a refusal.
#include "dialogs/win32/series_window.hpp"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "../../support/scripted_prompts.hpp"
#include "dialogs/dialog_texts.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

std::string Text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return WideToUtf8(text);
}

struct SeriesWindowFixture : ::testing::Test {
  YearDatas years;
  test::ScriptedPrompts prompts;
  Win32Prompts owner_prompts;
  const Date start = MakeDate(2027, 1, 31);
  std::unique_ptr<SeriesDialogModel> model;
  std::unique_ptr<SeriesWindow> window;

  HWND Open(int kind) {
    model = std::make_unique<SeriesDialogModel>(DefaultSeriesRule(NewEntry{kind, "家賃", 5000, "c"}, start), years,
                                                MakeDate(2027, 1, 10), prompts);
    window = std::make_unique<SeriesWindow>(*model, owner_prompts);
    return window->Create(nullptr, 10, 10);
  }
  // A choice made as the user makes it: the selection, then the combo box's notice.
  static void Choose(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
  std::string Preview(HWND dialog) const { return Text(GetDlgItem(dialog, SeriesWindow::kPreviewId)); }
};

TEST_F(SeriesWindowFixture, ControlsFollowTheChoicesAndThePreviewIsTheModels) {
  HWND dialog = Open(kAutomaticTransfers);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog), "繰り返しの設定");
  EXPECT_EQ(Text(GetDlgItem(dialog, SeriesWindow::kEveryId)), "1");
  EXPECT_EQ(SendDlgItemMessageW(dialog, SeriesWindow::kUnitId, CB_GETCURSEL, 0, 0), 1);  // months
  EXPECT_EQ(SendDlgItemMessageW(dialog, SeriesWindow::kShiftId, CB_GETCURSEL, 0, 0),
            static_cast<LRESULT>(DefaultShift(kAutomaticTransfers)));
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, SeriesWindow::kEveryId));
  SeriesForm form = model->Form();
  EXPECT_EQ(Preview(dialog), model->Preview(form));
  EXPECT_TRUE(Enabled(dialog, SeriesWindow::kMonthDayId));
  EXPECT_FALSE(Enabled(dialog, SeriesWindow::kCountId));
  EXPECT_FALSE(Enabled(dialog, SeriesWindow::kUntilId));
  EXPECT_TRUE(Enabled(dialog, SeriesWindow::kShiftId));

  struct Step {
    int id, index;
    bool month_day, count, until;
  } steps[] = {
      {SeriesWindow::kEndId, 1, true, true, false},
      {SeriesWindow::kEndId, 2, true, false, true},
      {SeriesWindow::kUnitId, 0, false, false, true},
      {SeriesWindow::kUnitId, 2, false, false, true},
      {SeriesWindow::kEndId, 0, false, false, false},
  };
  for (const Step& step : steps) {
    Choose(dialog, step.id, step.index);
    EXPECT_EQ(Enabled(dialog, SeriesWindow::kMonthDayId), step.month_day) << step.id << "=" << step.index;
    EXPECT_EQ(Enabled(dialog, SeriesWindow::kCountId), step.count) << step.id << "=" << step.index;
    EXPECT_EQ(Enabled(dialog, SeriesWindow::kUntilId), step.until) << step.id << "=" << step.index;
  }
  // Typing updates the preview as well.
  SetDlgItemTextW(dialog, SeriesWindow::kEveryId, L"2");
  form.every = "2";
  form.unit = SeriesUnit::kYear;
  EXPECT_EQ(Preview(dialog), model->Preview(form));
  SetDlgItemTextW(dialog, SeriesWindow::kEveryId, L"");
  EXPECT_EQ(Preview(dialog), texts::kSeriesEveryInvalid);
  DestroyWindow(dialog);
}

TEST_F(SeriesWindowFixture, OKStaysOnARefusalAndKeepsTheRuleOtherwise) {
  HWND dialog = Open(kCashPayments);
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, SeriesWindow::kEndId, 1);
  SetDlgItemTextW(dialog, SeriesWindow::kCountId, L"0");
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(IsWindow(dialog));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, texts::kSeriesCountInvalid);
  EXPECT_FALSE(model->Result());
  SetDlgItemTextW(dialog, SeriesWindow::kCountId, L"６");
  Choose(dialog, SeriesWindow::kMonthDayId, 1);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(dialog));
  ASSERT_TRUE(model->Result());
  EXPECT_EQ(model->Result()->count, 6);
  EXPECT_TRUE(model->Result()->last_day);
  EXPECT_EQ(model->Result()->end, SeriesEnd::kAfterCount);
}

}  // namespace
}  // namespace orv
