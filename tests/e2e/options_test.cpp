// End-to-end: the options dialog opened from the tray menu, its pages and what applying does
// to the running calendar.
#include "e2e_harness.hpp"

#include "desktop/tray_menu.hpp"
#include "options/win32/options_window.hpp"

namespace orv::e2e {
namespace {

constexpr COLORREF kThemeBody = RGB(255, 0, 255);

class OptionsE2E : public OrvantaE2E {
protected:
  // A user data file, a calendar of its own (pixels, owned dialogs) and the program running.
  void StartWithData() {
    data_ = UseEmptyData();
    StopProgman();
    Launch();
    ASSERT_TRUE(WaitShown());
  }

  // The automatic transfers' preset list of the saved data file.
  void ExpectSavedTransferPresets(const std::vector<std::string>& names) {
    YearDatas years;
    DefaultUserListArray lists;
    ASSERT_EQ(sfLoadUserData(data_, years, lists), "");
    std::vector<std::string> saved;
    for (int i = 1; i <= lists[0].Count(); ++i) saved.push_back(lists[0].At(i)->strValue1);
    EXPECT_EQ(saved, names);
  }

  // The options entry of the tray menu; the dialog is not modal, so the command returns.
  HWND OpenOptions() {
    PostMessageW(Host(), WM_COMMAND, kCmdOption, 0);
    HWND dialog = nullptr;
    WaitFor([&] {
      dialog = FindWindowW(L"OrvantaOptions", L"オプション");
      return dialog && IsWindowVisible(dialog);
    });
    return dialog;
  }

  // A control of the dialog by its identifier, on whichever page it sits.
  static HWND Control(HWND dialog, int id) {
    return FindChild(dialog, [id](HWND child) { return GetDlgCtrlID(child) == id; });
  }

  // A button press as the mouse makes it; posted, since it may open a modal box.
  static void Click(HWND dialog, int id) { PostMessageW(Control(dialog, id), BM_CLICK, 0, 0); }

  // A message box of orvanta's with this caption: its text, after pressing `button`.
  static std::string AnswerBox(const wchar_t* caption, int button = IDOK) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindWindowW(L"#32770", caption)) != nullptr && IsWindowVisible(box); }))
      return "(no box " + WideToUtf8(caption) + ")";
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    PostMessageW(box, WM_COMMAND, button, 0);
    WaitFor([&] { return !IsWindow(box); });
    return WideToUtf8(text);
  }

  // The open-file dialog the theme page shows (owned by the options dialog); types `path`.
  static bool AddThemeFile(HWND dialog, const std::string& path) {
    Click(dialog, kIdAddTheme);
    HWND files = nullptr;
    const bool shown = WaitFor([&] {
      files = nullptr;
      for (HWND w = FindWindowW(L"#32770", nullptr); w; w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
        if (GetWindow(w, GW_OWNER) == dialog && IsWindowVisible(w) && (GetDlgItem(w, 1148) || GetDlgItem(w, 1152)))
          files = w;
      }
      return files != nullptr;
    });
    return shown && ChooseFile(files, path) && WaitFor([&] { return !IsWindow(files); });
  }

  // A key combination typed on the keyboard, delivered to the foreground window.
  static void TypeAlt(WORD key) {
    INPUT input[4]{};
    const WORD keys[4] = {VK_MENU, key, key, VK_MENU};
    for (int i = 0; i < 4; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wVk = keys[i];
      input[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, input, sizeof(INPUT));
  }

  // Alt+key as the dialog's message loop sees it, whatever window has the keyboard focus.
  static void PressAlt(HWND dialog, WPARAM key) {
    PostMessageW(dialog, WM_SYSKEYDOWN, key, 1 | (1 << 29));
    PostMessageW(dialog, WM_SYSKEYUP, key, 1 | (1 << 29) | (3u << 30));
  }

  static void TypeKey(WORD key) {
    INPUT input[2]{};
    for (int i = 0; i < 2; ++i) {
      input[i].type = INPUT_KEYBOARD;
      input[i].ki.wVk = key;
      input[i].ki.dwFlags = i == 1 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, input, sizeof(INPUT));
  }

  static int CurrentTab(HWND dialog) {
    return static_cast<int>(SendMessageW(Control(dialog, kIdTabStrip), TCM_GETCURSEL, 0, 0));
  }
  static bool PageShown(HWND dialog, int first_control) {
    return IsWindowVisible(GetParent(Control(dialog, first_control))) != FALSE;
  }

  // One wheel notch toward the user on the calendar (a week on, when the hook is in).
  void WheelDown() {
    SendMessageW(Calendar(), WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(-120)) << 16, 0);
  }

  std::string data_;
};

TEST_F(OptionsE2E, OpensOnTheFirstPageAndAltKeysSwitchPagesAndFocus) {
  StartWithData();
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(CurrentTab(dialog), 0);
  EXPECT_TRUE(PageShown(dialog, kIdDUDType));
  EXPECT_FALSE(PageShown(dialog, kIdThemeTitles));
  EXPECT_FALSE(IsWindowEnabled(Control(dialog, kIdApply)));
  EXPECT_EQ(SendMessageW(Control(dialog, kIdTabStrip), TCM_GETITEMCOUNT, 0, 0), 3);
  Screenshot(dialog, "options-page0");

  // Real key strokes go to the foreground window's focus.
  SetForegroundWindow(dialog);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000));
  TypeAlt('D');
  ASSERT_TRUE(WaitFor([&] { return CurrentTab(dialog) == 1; }, 5000));
  EXPECT_TRUE(PageShown(dialog, kIdThemeTitles));
  EXPECT_FALSE(PageShown(dialog, kIdDUDType));
  EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == Control(dialog, kIdThemeTitles); }, 3000));
  Screenshot(dialog, "options-page1");
  // Both pages have an Alt+N button; the shown page's one answers (the theme file dialog).
  TypeAlt('N');
  HWND files = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    files = FindWindowW(L"#32770", nullptr);
    return files && GetWindow(files, GW_OWNER) == dialog && IsWindowVisible(files);
  }));
  EXPECT_TRUE(GetDlgItem(files, 1148) || GetDlgItem(files, 1152));
  PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(files); }));
  EXPECT_EQ(SendMessageW(Control(dialog, kIdDUDList), LVM_GETITEMCOUNT, 0, 0), 0);
  SetForegroundWindow(dialog);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000));
  TypeAlt('R');
  ASSERT_TRUE(WaitFor([&] { return CurrentTab(dialog) == 2; }, 5000));
  EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == Control(dialog, kIdMicrosoftWheel); }, 3000));
  Screenshot(dialog, "options-page2");
  EXPECT_FALSE(IsWindowEnabled(Control(dialog, kIdApply)));  // switching pages changes nothing

  // A second request brings the open dialog forward instead of opening another.
  EXPECT_EQ(OpenOptions(), dialog);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }, 3000));
  TypeKey(VK_ESCAPE);  // the dialog's Cancel
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  Quit();
}

// A theme with a magenta body picture wider than the calendar, a sample picture, and the two
// files the page must refuse.
TEST_F(OptionsE2E, AThemeAddedChosenAndAppliedRedrawsTheCalendarAndIsStoredAtQuit) {
  const std::string folder = DataFile("theme");
  std::filesystem::create_directories(test::FsPath(folder));
  const std::string theme = folder + "\\magenta.ini";
  test::WriteBytes(theme,
                   "[Head]\r\nCanReadVersion=1\r\nTitle=E2E Magenta\r\nComment=Pink all over\r\n"
                   "Copyright=nobody\r\nSamplePicture=sample.bmp\r\n"
                   "[PixelSize]\r\nFullWidth=240\r\nMiniWidth=150\r\nLastweekHeight=20\r\nNextweekHeight=20\r\n"
                   "MonthWidth=80\r\nDayHeight=24\r\n[PictureDraw]\r\nBodyDrawMode=3\r\n"
                   "[PictureFilename]\r\nBody=body.bmp\r\n");
  WriteBmp(folder + "\\body.bmp", 300, 40, [](int, int) { return kThemeBody; });
  WriteBmp(folder + "\\sample.bmp", 60, 80, [](int, int) { return kThemeBody; });
  test::WriteBytes(folder + "\\later.ini", "[Head]\r\nCanReadVersion=2\r\nTitle=Later\r\n");
  test::WriteBytes(folder + "\\empty.ini", "");

  StartWithData();
  RECT r{};
  GetWindowRect(Calendar(), &r);
  const int y = (r.top + r.bottom) / 2;
  ASSERT_TRUE(WaitFor([&] { return ScreenPixel(r.left + 1, y) == WallpaperAt(r.left + 1, 0); }, 5000));

  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  PressAlt(dialog, 'D');
  ASSERT_TRUE(WaitFor([&] { return CurrentTab(dialog) == 1; }));
  HWND titles = Control(dialog, kIdThemeTitles);
  ASSERT_EQ(SendMessageW(titles, CB_GETCOUNT, 0, 0), 1);  // the built-in theme only
  ASSERT_TRUE(AddThemeFile(dialog, theme));
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(titles, CB_GETCOUNT, 0, 0) == 2; }));
  EXPECT_EQ(SendMessageW(titles, CB_GETCURSEL, 0, 0), 0);  // listed, not chosen

  ASSERT_TRUE(AddThemeFile(dialog, folder + "\\later.ini"));
  EXPECT_EQ(AnswerBox(L"使用不可能なファイルバージョン"),
            "このファイルは Orvanta Verstion.1.0.0 で使用する事が出来ません！\r\n"
            "ソフトをアップグレードするか、このバージョンで使用できるテーマファイルを選択してください");
  ASSERT_TRUE(AddThemeFile(dialog, folder + "\\empty.ini"));
  EXPECT_EQ(AnswerBox(L"ファイルが読み込めませんでした").find("このファイルはカレンダーテーマ定義ファイルではないか"), 0u);
  ASSERT_TRUE(AddThemeFile(dialog, theme));
  EXPECT_EQ(AnswerBox(L"追加済みの確認"), "このファイルは既に一覧に追加されています");
  EXPECT_EQ(SendMessageW(titles, CB_GETCOUNT, 0, 0), 2);

  // Choosing it shows its texts and enables Apply; applying redraws the calendar in it.
  SendMessageW(titles, CB_SETCURSEL, 1, 0);
  SendMessageW(GetParent(titles), WM_COMMAND, MAKEWPARAM(kIdThemeTitles, CBN_SELCHANGE), reinterpret_cast<LPARAM>(titles));
  wchar_t comment[128] = L"";
  GetWindowTextW(Control(dialog, kIdThemeComment), comment, 128);
  EXPECT_STREQ(comment, L"Pink all over");
  RECT sample{};
  GetWindowRect(Control(dialog, kIdThemeSample), &sample);
  EXPECT_TRUE(WaitFor([&] { return ScreenPixel(sample.left + 5, sample.top + 5) == kThemeBody; }, 3000));
  Screenshot(dialog, "options-page1-theme");
  EXPECT_TRUE(IsWindowEnabled(Control(dialog, kIdThemeDel)));
  EXPECT_TRUE(IsWindowEnabled(Control(dialog, kIdApply)));
  Click(dialog, kIdApply);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(Control(dialog, kIdApply)); }));
  // Probed clear of the day texts and of the dialog, which was placed beside the wider
  // calendar of the built-in theme.
  EXPECT_TRUE(WaitFor([&] {
    GetWindowRect(Calendar(), &r);
    return ScreenPixel(r.left + 60, y) == kThemeBody;
  }, 5000)) << std::hex << ScreenPixel(r.left + 60, y);
  Screenshot(Calendar(), "calendar-theme");
  EXPECT_EQ(r.right - r.left, GeometryValue(Geometry(), "MiniWidth"));  // the theme's narrow width
  EXPECT_EQ(r.right - r.left, MulDiv(150, ScreenDpi(), 96));            // at the display's scale

  // The theme in use cannot be removed.
  Click(dialog, kIdThemeDel);
  EXPECT_EQ(AnswerBox(L"表示中のテーマを削除する事は出来ません").find("削除しようとしているテーマは現在表示されているテーマです"), 0u);
  EXPECT_EQ(SendMessageW(titles, CB_GETCOUNT, 0, 0), 2);

  Click(dialog, kIdOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  Quit();
  EXPECT_EQ(WideToUtf8(GetText(L"Software\\Orvanta\\Theme", L"Selected")), theme);
  wchar_t value[MAX_PATH * 2] = L"";
  GetPrivateProfileStringW(L"CalendarDraw", L"Count", L"", value, MAX_PATH * 2, ThemeListFile().c_str());
  EXPECT_STREQ(value, L"1");
  GetPrivateProfileStringW(L"CalendarDraw", L"File_1", L"", value, MAX_PATH * 2, ThemeListFile().c_str());
  EXPECT_EQ(WideToUtf8(value), theme);
}

TEST_F(OptionsE2E, TheSampleCopyPutsABitmapOfTheCalendarOnTheClipboard) {
  StartWithData();
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  Click(dialog, kIdClipCopySample);
  EXPECT_EQ(AnswerBox(L"サンプル画像の取り込み・確認"),
            "現在表示されているカレンダーを、クリップボードにコピーしました。\r\n他のソフトウェアに張り付けて、使用してください");
  RECT r{};
  GetClientRect(Calendar(), &r);
  ASSERT_TRUE(OpenClipboard(nullptr));
  BITMAP info{};
  if (auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) GetObjectW(bitmap, sizeof info, &info);
  CloseClipboard();
  EXPECT_EQ(info.bmWidth, r.right);
  EXPECT_EQ(info.bmHeight, r.bottom);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  Quit();
}

TEST_F(OptionsE2E, TheWheelBoxSwitchesTheCalendarsWheelHandlingAtOnce) {
  StartWithData();
  const std::string today = StartDate();
  const UINT roll = RegisterWindowMessageW(L"MSWHEEL_ROLLMSG");
  WheelDown();
  const std::string week_on = StartDate();
  ASSERT_NE(week_on, today);
  SendMessageW(Calendar(), roll, 120, 0);  // and back
  ASSERT_EQ(StartDate(), today);

  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  PressAlt(dialog, 'R');
  ASSERT_TRUE(WaitFor([&] { return CurrentTab(dialog) == 2; }));
  HWND box = Control(dialog, kIdMicrosoftWheel);
  ASSERT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(dialog, kIdMicrosoftWheel);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(Control(dialog, kIdWheelChange0)); }));
  EXPECT_FALSE(IsWindowEnabled(Control(dialog, kIdWheelChange1)));
  EXPECT_FALSE(IsWindowEnabled(Control(dialog, kIdWheelChangeLabel)));
  WheelDown();
  EXPECT_EQ(StartDate(), week_on);  // not applied yet: the hook is still in
  SendMessageW(Calendar(), roll, 120, 0);
  Click(dialog, kIdApply);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(Control(dialog, kIdApply)); }));
  WheelDown();
  SendMessageW(Calendar(), roll, -120, 0);
  EXPECT_EQ(StartDate(), today);  // neither wheel message scrolls now

  Click(dialog, kIdMicrosoftWheel);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Control(dialog, kIdWheelChange0)) != FALSE; }));
  Click(dialog, kIdOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  WheelDown();
  EXPECT_EQ(StartDate(), week_on);
  Quit();
  EXPECT_EQ(GetText(L"Software\\Orvanta\\Option", L"MicrosoftWheelMouse"), L"True");
}

// A name the user data file cannot hold is refused at once, with the reason; the input box
// comes back with what was typed, and the corrected name is stored and saved.
TEST_F(OptionsE2E, APresetNameTheFileCannotHoldIsRefusedAndAskedForAgain) {
  StartWithData();
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  Click(dialog, kIdDUDAdd);
  HWND input = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (input = FindWindowW(L"#32770", L"一覧へ追加")) != nullptr; }));
  SetDlgItemTextW(input, 101, L"가스\u301C");  // Hangul and a wave dash from a web page
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  HWND refusal = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (refusal = FindWindowW(L"#32770", L"一覧へ追加")) != nullptr && IsWindowVisible(refusal); }));
  wchar_t text[256] = L"";
  ASSERT_TRUE(WaitFor([&] { return GetDlgItemTextW(refusal, 0xFFFF, text, 256) > 0; }, 5000));
  EXPECT_EQ(WideToUtf8(text), "「名称」の内容はユーザーデータファイルに保存できません\r\n保存できない文字が含まれています");
  Screenshot(refusal, "preset-refused");
  PostMessageW(refusal, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(refusal); }));
  ASSERT_TRUE(WaitFor([&] { return (input = FindWindowW(L"#32770", L"一覧へ追加")) != nullptr && IsWindowVisible(input); }));
  wchar_t kept[64] = L"";
  GetDlgItemTextW(input, 101, kept, 64);
  EXPECT_EQ(std::wstring(kept), L"가스\u301C");
  SetDlgItemTextW(input, 101, L"ガス\uFF5E");
  PostMessageW(input, WM_COMMAND, IDOK, 0);
  HWND list = Control(dialog, kIdDUDList);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
  Click(dialog, kIdOK);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  Quit();
  ExpectSavedTransferPresets({"ガス\uFF5E"});
}

// Preset changes act at once: Cancel keeps them, and the add-entry dialog lists them.
TEST_F(OptionsE2E, PresetsAddedAndRemovedShowInTheAddEntryListAndSurviveCancel) {
  StartWithData();
  HWND dialog = OpenOptions();
  ASSERT_TRUE(dialog);
  HWND list = Control(dialog, kIdDUDList);
  for (const wchar_t* name : {L"電気代", L"水道代"}) {
    Click(dialog, kIdDUDAdd);
    HWND input = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (input = FindWindowW(L"#32770", L"一覧へ追加")) != nullptr; }));
    wchar_t prompt[128] = L"";
    GetDlgItemTextW(input, 100, prompt, 128);
    EXPECT_EQ(WideToUtf8(prompt), "自動振替データの名称を入力してください");
    SetDlgItemTextW(input, 101, name);
    PostMessageW(input, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(input); }));
  }
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
  // Tick the first line from the keyboard, then remove the ticked lines.
  CheckRows(list, {0});
  ASSERT_TRUE(WaitFor([&] { return CheckStates(list) == std::vector<int>{1, 0}; }, 5000));
  Click(dialog, kIdDUDDel);
  EXPECT_EQ(AnswerBox(L"削除の確認"), "チェックがつけられた項目を、一覧から削除します\r\n本当に削除しますか？");
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
  Click(dialog, kIdCancel);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));

  SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  HWND add = OpenAddEntryAt(MiddleDayRow());
  ASSERT_TRUE(add);
  const std::string items = Field(reporter_.Ask(add), "AddList");
  EXPECT_EQ(items.substr(0, items.find('\t')), "水道代") << items;
  EXPECT_EQ(std::count(items.begin(), items.end(), '\t'), 4) << items;  // and the four catch-alls
  EXPECT_EQ(items.find("電気代"), std::string::npos) << items;
  ASSERT_TRUE(CloseWith(add));
  Quit();
  ExpectSavedTransferPresets({"水道代"});
}

}  // namespace
}  // namespace orv::e2e
