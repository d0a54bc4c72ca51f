// The options dialog's window under Wine: frame, tab strip, captions, Alt keys, Apply, the
// preset list, adding and applying a theme, and the sample copy to the clipboard. With
// ORV_SCREENSHOT_DIR set it also saves a picture of each page there.
#include "options/win32/options_window.hpp"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/win32/wide.hpp"
#include "../../support/accessible_reader.hpp"
#include "../../support/recording_calendar_view.hpp"
#include "../../support/scripted_prompts.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

class CountingWheel : public WheelHookSwitch {
public:
  int registers = 0, hooks = 0, unhooks = 0;
  std::int32_t RegisterWheelMessage() override {
    ++registers;
    return static_cast<std::int32_t>(RegisterWindowMessageW(L"MSWHEEL_ROLLMSG"));
  }
  void HookCalendarWheel() override { ++hooks; }
  void UnhookCalendarWheel() override { ++unhooks; }
};

class FakeCalendarPicture : public CalendarPictureSource {
public:
  FakeCalendarPicture() {
    canvas.SetBackColor(MakeRgb(200, 30, 40));
    canvas.Clear();
  }
  HWND CalendarWindow() const override { return nullptr; }
  const GdiCanvas* CalendarPicture() const override { return &canvas; }
  GdiCanvas canvas{120, 300};
};

std::string Text(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return WideToUtf8(buffer);
}

void SaveScreenshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("ORV_SCREENSHOT_DIR");
  if (!folder) return;
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(dc, old);
  BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const int stride = (w * 3 + 3) & ~3;
  std::string pixels(static_cast<std::size_t>(stride * h), '\0');
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + pixels.size()), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof info};
  std::ofstream out(std::string(folder) + "/" + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

// The program state under the built-in theme and the doubles around the options dialog.
class OptionsDoubles : public testing::Test {
protected:
  OptionsDoubles() { LoadDefaultTheme(state.CurrentTheme); }
  AppState state;
  test::ScriptedPrompts prompts;
  PictureHeaderLoader pictures;
  ThemeEnvironment environment{pictures, 15};
  test::RecordingCalendarView calendar;
  CountingWheel wheel;
  FakeCalendarPicture calendar_picture;
};

class OptionsWindowTest : public OptionsDoubles {
protected:
  test::TempDir dir;
  std::unique_ptr<OptionsWindow> window;

  void SetUp() override {
    window = std::make_unique<OptionsWindow>(
        OptionsContext{state, calendar, environment, wheel, calendar_picture, dir.File(""), &prompts});
    ASSERT_TRUE(window->Open());
    Pump();
  }
  void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (window->PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(20);
    }
  }
  HWND C(int id) { return window->Control(id); }
  void Click(int id) {
    SendMessageW(C(id), BM_CLICK, 0, 0);
    Pump();
  }
  void AltKey(char key) {
    PostMessageW(GetFocus() ? GetFocus() : window->hwnd(), WM_SYSKEYDOWN, static_cast<WPARAM>(key), 1 << 29);
    Pump();
  }
  bool Visible(int page) { return IsWindowVisible(window->Page(page)) != FALSE; }
};

TEST_F(OptionsWindowTest, OpensBesideTheCalendarWithNativeTabsOnThePresetPage) {
  EXPECT_EQ(Text(window->hwnd()), "オプション");
  RECT r{};
  GetWindowRect(window->hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 6885 / 15);
  EXPECT_EQ(r.bottom - r.top, 6450 / 15);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 6885 / 15);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) * 15 - 6450) / 2 / 15);

  HWND tabs = C(kIdTabStrip);
  wchar_t cls[64] = {};
  GetClassNameW(tabs, cls, 64);
  EXPECT_STREQ(cls, L"SysTabControl32");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(tabs, GWL_STYLE)), 0x54004020u);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(WideToUtf8(text), kOptionsTabTexts[i]);
  }
  EXPECT_TRUE(Visible(0));
  EXPECT_FALSE(Visible(1));
  EXPECT_FALSE(Visible(2));
  EXPECT_FALSE(IsWindowEnabled(C(kIdApply)));
  SaveScreenshot(window->hwnd(), "options-page0");
}

TEST_F(OptionsWindowTest, EveryCaptionIsTheSystemsOwnText) {
  const std::pair<int, const char*> captions[] = {
      {kIdOK, "OK"},
      {kIdCancel, "キャンセル"},
      {kIdApply, "適用(&A)"},
      {kIdFrame0, "追加の一覧"},
      {kIdFrame0 + 1, "カレンダーテーマ"},
      {kIdFrame0 + 2, "ホイールマウス"},
      {kIdFrame0 + 3, "スクロール"},
      {kIdFrame0 + 4, "今日の表示"},
      {kIdDUDAdd, "追加(&N)..."},
      {kIdDUDDel, "削除(&E)..."},
      {kIdShiftAuto, "Shiftキーを押しながら入力決定した予定は自動的に一覧に追加する"},
      {kIdAutoSave, "予定を追加・削除するたびに上書き保存する"},
      {kIdOverWriteMenu, "タスクトレイアイコンのメニュー [ データの上書き保存 ] を使用する"},
      {kIdAddTheme, "追加(&N)..."},
      {kIdThemeDel, "削除(&E)..."},
      {kIdClipCopySample, "サンプル画像の取り込み(&S)"},
      {kIdThemeNote, "※カレンダーテーマ一覧の追加と削除は全てのユーザーに適応されます"},
      {kIdMicrosoftWheel, "Microsoft ホイール / インテリ マウス のホイール動作を有効にする"},
      {kIdWheelChange0, "1週間ずつ"},
      {kIdWheelChange1, "1日ずつ"},
      {kIdWheelChangeLabel, "ホイールの回転量 :"},
      {kIdWheelNote, "※他社マウスでの回転量はそれぞれの設定に依存します"},
      {kIdScroll0, "1日ずつスクロールする"},
      {kIdScroll1, "拡張表示の時は一度にスクロールする"},
      {kIdScroll2, "常に一度にスクロールする"},
      {kIdStartDay0, "今日から表示"},
      {kIdStartDay1, "1日前から表示"},
      {kIdStartDay2, "1週間前から表示"},
      {kIdCenterClick, "センタークリックでカレンダーの予定表示の内容を切り替える"},
      {kIdIgnoreXPTheme, "Windows XP は常にクラシック表示（テーマ対応 XPスタイル を無視する）"},
      {kIdShowHolidays, "祝日を表示する"},
      {kIdRemindPayments, "支払いを事前に知らせる"},
      {kIdRemindDaysLabel, "日前から(&Y)"},
      {kIdRemindDays, "2"},
      {kIdRemindVerySpecial, "特に特別な日も知らせる"},
  };
  for (const auto& [id, caption] : captions) {
    ASSERT_NE(C(id), nullptr) << caption;
    EXPECT_EQ(Text(C(id)), caption);
  }
  // The last box of the behaviour page still fits on it.
  RECT box{}, page{};
  GetWindowRect(C(kIdRemindVerySpecial), &box);
  GetWindowRect(GetParent(C(kIdRemindVerySpecial)), &page);
  EXPECT_LE(box.bottom, page.bottom);
  EXPECT_EQ(SendMessageW(C(kIdDUDType), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(C(kIdThemeTitles), CB_GETCOUNT, 0, 0), 1);
}

TEST_F(OptionsWindowTest, AltKeysSwitchPagesAndFocusTheirFirstControl) {
  AltKey('D');
  EXPECT_TRUE(Visible(1));
  EXPECT_FALSE(Visible(0));
  EXPECT_EQ(GetFocus(), C(kIdThemeTitles));
  SaveScreenshot(window->hwnd(), "options-page1");
  AltKey('R');
  EXPECT_TRUE(Visible(2));
  EXPECT_EQ(GetFocus(), C(kIdMicrosoftWheel));
  EXPECT_EQ(SendMessageW(C(kIdTabStrip), TCM_GETCURSEL, 0, 0), 2);
  SaveScreenshot(window->hwnd(), "options-page2");
  AltKey('U');
  EXPECT_TRUE(Visible(0));
  EXPECT_EQ(GetFocus(), C(kIdDUDType));
}

TEST_F(OptionsWindowTest, UncheckingTheWheelAndApplyingRemovesTheHookAtOnce) {
  window->ForcedChangeTab(7);  // clamped to the last page
  Pump();
  ASSERT_TRUE(Visible(2));
  Click(kIdMicrosoftWheel);
  EXPECT_TRUE(IsWindowEnabled(C(kIdApply)));
  EXPECT_FALSE(IsWindowEnabled(C(kIdWheelChange0)));
  EXPECT_FALSE(IsWindowEnabled(C(kIdWheelChangeLabel)));
  Click(kIdApply);
  EXPECT_EQ(wheel.unhooks, 1);
  EXPECT_FALSE(state.MicrosoftWheelMouse);
  EXPECT_FALSE(IsWindowEnabled(C(kIdApply)));
  Click(kIdMicrosoftWheel);
  Click(kIdApply);
  EXPECT_EQ(wheel.hooks, 1);
  EXPECT_EQ(wheel.registers, 1);
  EXPECT_TRUE(state.MicrosoftWheelMouse);
  EXPECT_NE(state.WheelMessageId, 0);
}

TEST_F(OptionsWindowTest, PresetsAreAddedAndTheTickedOnesRemoved) {
  prompts.inputs = {std::string("電気"), std::string("ガス")};
  Click(kIdDUDAdd);
  Click(kIdDUDAdd);
  HWND list = C(kIdDUDList);
  ASSERT_EQ(ListView_GetItemCount(list), 2);
  ListView_SetCheckState(list, 0, TRUE);
  Click(kIdDUDDel);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  wchar_t text[32] = {};
  ListView_GetItemText(list, 0, 0, text, 32);
  EXPECT_EQ(WideToUtf8(text), "ガス");
  EXPECT_EQ(state.DefaultUserLists[0].Count(), 1);
  EXPECT_EQ(prompts.input_prompts[0], "自動振替データの名称を入力してください");
  prompts.inputs = {std::string("水道")};
  Click(kIdDUDAdd);
  ListView_SetCheckState(list, 1, TRUE);
  Pump();
  SaveScreenshot(window->hwnd(), "options-presets");
}

TEST_F(OptionsWindowTest, AnAddedThemeChosenAndAppliedRedrawsTheCalendar) {
  std::string path = dir.File("spring.ini");
  test::WriteBytes(path, "\xEF\xBB\xBF[Head]\r\nTitle=春\r\nCanReadVersion=1\r\nComment=花の色\r\n"
                         "[PixelSize]\r\nFullWidth=300\r\nMiniWidth=150\r\nLastweekHeight=20\r\n"
                         "NextweekHeight=21\r\nMonthWidth=80\r\nDayHeight=24\r\n");
  prompts.files = {path};
  window->ForcedChangeTab(1);
  Pump();
  Click(kIdAddTheme);
  HWND titles = C(kIdThemeTitles);
  ASSERT_EQ(SendMessageW(titles, CB_GETCOUNT, 0, 0), 2);
  EXPECT_FALSE(IsWindowEnabled(C(kIdThemeDel)));
  SendMessageW(titles, CB_SETCURSEL, 1, 0);
  SendMessageW(GetParent(titles), WM_COMMAND, MAKEWPARAM(kIdThemeTitles, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(titles));
  EXPECT_EQ(Text(C(kIdThemeComment)), "花の色");
  EXPECT_TRUE(IsWindowEnabled(C(kIdThemeDel)));
  Click(kIdApply);
  EXPECT_EQ(state.SelectedThemeKey, "1");
  EXPECT_EQ(state.CurrentTheme.FullWidth, 300 * 15);
  EXPECT_EQ(calendar.full_draws, 1);
  Click(kIdThemeDel);
  EXPECT_EQ(prompts.Titles().back(), "表示中のテーマを削除する事は出来ません");
}

COLORREF PagePixel(HWND page) {
  UpdateWindow(page);
  HDC dc = GetDC(page);
  COLORREF pixel = GetPixel(dc, 2, 2);
  ReleaseDC(page, dc);
  return pixel;
}

TEST_F(OptionsWindowTest, ClassicBoxTurnsWhitePagesToButtonFaceOnApply) {
  window.reset();
  state.XPThemeAvailable = true;
  window = std::make_unique<OptionsWindow>(
      OptionsContext{state, calendar, environment, wheel, calendar_picture, dir.File(""), &prompts});
  ASSERT_TRUE(window->Open());
  window->ForcedChangeTab(2);
  Pump();
  EXPECT_EQ(PagePixel(window->Page(2)), RGB(255, 255, 255));
  SaveScreenshot(window->hwnd(), "options-page2-white");
  ASSERT_TRUE(IsWindowEnabled(C(kIdIgnoreXPTheme)));
  Click(kIdIgnoreXPTheme);
  Click(kIdApply);
  Pump();
  EXPECT_TRUE(state.IgnoreXPTheme);
  EXPECT_EQ(PagePixel(window->Page(2)), GetSysColor(COLOR_BTNFACE));
}

TEST_F(OptionsWindowTest, SampleCopyPutsTheCalendarOnTheClipboard) {
  window->ForcedChangeTab(1);
  Pump();
  Click(kIdClipCopySample);
  EXPECT_EQ(prompts.Titles().back(), "サンプル画像の取り込み・確認");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP info{};
  const bool got = bitmap && GetObjectW(bitmap, sizeof info, &info) != 0;
  CloseClipboard();
  ASSERT_TRUE(got);
  EXPECT_EQ(info.bmWidth, 120);
  EXPECT_EQ(info.bmHeight, 300);
}

// The reminder's days ahead is typed or stepped, kept to 0..14; the days and the very
// special box follow the reminder box, and OK stores all three.
TEST_F(OptionsWindowTest, ReminderDaysAheadIsKeptInRangeAndFollowsItsBox) {
  window->ForcedChangeTab(2);
  Pump();
  EXPECT_EQ(Text(C(kIdRemindDays)), "2");
  EXPECT_TRUE(IsWindowEnabled(C(kIdRemindDays)));
  SetWindowTextW(C(kIdRemindDays), L"99");
  Pump();
  EXPECT_EQ(window->model().controls().txtRemindDays, 14);
  SetWindowTextW(C(kIdRemindDays), L"5");
  Pump();
  Click(kIdRemindVerySpecial);
  Click(kIdRemindPayments);
  EXPECT_FALSE(IsWindowEnabled(C(kIdRemindDays)));
  EXPECT_FALSE(IsWindowEnabled(C(kIdRemindVerySpecial)));
  Click(kIdOK);
  EXPECT_FALSE(state.RemindPayments);
  EXPECT_EQ(state.RemindDaysAhead, 5);
  EXPECT_FALSE(state.RemindVerySpecial);
}

TEST_F(OptionsWindowTest, OkAppliesAndClosesCancelOnlyCloses) {
  window->ForcedChangeTab(2);
  Pump();
  Click(kIdCenterClick);
  Click(kIdCancel);
  EXPECT_EQ(window->hwnd(), nullptr);
  EXPECT_TRUE(state.CenterClick);
  EXPECT_EQ(calendar.full_draws, 0);

  window = std::make_unique<OptionsWindow>(
      OptionsContext{state, calendar, environment, wheel, calendar_picture, dir.File(""), &prompts});
  ASSERT_TRUE(window->Open());
  window->ForcedChangeTab(2);
  Pump();
  Click(kIdCenterClick);
  EXPECT_EQ(SendMessageW(C(kIdShowHolidays), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(kIdShowHolidays);
  Click(kIdOK);
  EXPECT_EQ(window->hwnd(), nullptr);
  EXPECT_FALSE(state.CenterClick);
  EXPECT_FALSE(state.ShowHolidays);
  EXPECT_EQ(calendar.full_draws, 1);
}

using OptionsDialogHostTest = OptionsDoubles;

TEST_F(OptionsDialogHostTest, ASecondShowBringsTheOpenDialogForward) {
  OptionsDialogHost host(OptionsContext{state, calendar, environment, wheel, calendar_picture, "", &prompts});
  host.Show();
  ASSERT_NE(host.window(), nullptr);
  HWND first = host.window()->hwnd();
  host.Show();
  EXPECT_EQ(host.window()->hwnd(), first);
  SendMessageW(first, WM_CLOSE, 0, 0);
  EXPECT_EQ(host.window(), nullptr);
  host.Show();
  ASSERT_NE(host.window(), nullptr);
}

TEST_F(OptionsWindowTest, EveryPageReadsWithNamedInputsAndThePresetChecksAsStates) {
  OleInitialize(nullptr);
  const struct {
    char tab;
    int inputs;
  } pages[] = {{'U', 5}, {'D', 2}, {'R', 15}};  // the behaviour page: 12 and the reminder's three
  for (const auto& page : pages) {
    AltKey(page.tab);
    const test::DialogWalk walk = test::WalkDialog(window->hwnd());
    EXPECT_EQ(walk.inputs, page.inputs) << page.tab;
    for (const auto& u : walk.unnamed) ADD_FAILURE() << page.tab << " no name: " << WideToUtf8(u);
    for (const auto& m : walk.dead_mnemonics) ADD_FAILURE() << page.tab << " mnemonic leads nowhere: " << WideToUtf8(m);
  }

  // The preset list is named by its kind and reads its check marks.
  AltKey('U');
  HWND list = C(kIdDUDList);
  {
    ComPtr<IAccessible> acc = test::AccessibleOf(list);
    ASSERT_TRUE(acc);
    EXPECT_EQ(test::Name(acc.get()), L"追加の一覧 自動振替");
    if (ListView_GetItemCount(list) > 0) {
      ListView_SetCheckState(list, 0, TRUE);
      EXPECT_TRUE(test::State(acc.get(), 1) & STATE_SYSTEM_CHECKED);
      EXPECT_EQ(test::Role(acc.get(), 1), ROLE_SYSTEM_CHECKBUTTON);
    }
  }
  OleUninitialize();
}

}  // namespace
}  // namespace orv
