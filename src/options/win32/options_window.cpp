#include "options/win32/options_window.hpp"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "core/twips.hpp"
#include "platform/win32/accessible.hpp"
#include "platform/win32/display_scale.hpp"
#include "platform/win32/list_view.hpp"
#include "platform/win32/wide.hpp"
#include "platform/win32/delay_load.hpp"

namespace orv {
namespace {

constexpr wchar_t kDialogClass[] = L"OrvantaOptions";
constexpr wchar_t kPanelClass[] = L"OrvantaOptionsPanel";
constexpr DWORD kTabStripStyle = 0x54004020;  // child, visible, clip siblings, tool tips, labels left

// The three pages' first controls, which get the focus when their page is shown.
constexpr int kFirstControl[3] = {kIdDUDType, kIdThemeTitles, kIdMicrosoftWheel};
constexpr const char* kFrameCaptions[5] = {"追加の一覧", "カレンダーテーマ", "ホイールマウス", "スクロール",
                                           "今日の表示"};

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Check(HWND button, bool on) { SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

}  // namespace

bool OptionsPanel::Create(HWND parent, const RECT& rect, bool visible) {
  Register(kPanelClass, 0, nullptr);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
  return WindowBase::Create(WS_EX_CONTROLPARENT, kPanelClass, L"", style, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent);
}

LRESULT OptionsPanel::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  bool handled = false;
  LRESULT result = owner_.PanelMessage(hwnd(), message, wparam, lparam, handled);
  return handled ? result : Default(message, wparam, lparam);
}

OptionsWindow::OptionsWindow(OptionsContext context)
    : context_(std::move(context)),
      model_(context_.state, context_.prompts ? *context_.prompts : own_prompts_, context_.calendar,
             context_.environment, context_.wheel, context_.program_folder) {}

OptionsWindow::~OptionsWindow() { Destroy(); }

HWND OptionsWindow::Control(int id) const {
  if (id == kIdTabStrip) return tab_strip_;
  if (!hwnd()) return nullptr;
  if (HWND direct = GetDlgItem(hwnd(), id)) return direct;
  for (const auto& page : pages_) {
    if (page && page->hwnd()) {
      if (HWND child = GetDlgItem(page->hwnd(), id)) return child;
    }
  }
  return nullptr;
}

bool OptionsWindow::Open() {
  if (!DialogLibrariesReady(nullptr) || !EnsureCommonControls()) return false;
  Register(kDialogClass, 0, nullptr);

  // Placed in twips at the scale of the calendar's monitor.
  HWND calendar = context_.calendar_picture.CalendarWindow();
  dpi_ = WindowDpi(calendar);
  const TwipsScale scale = TwipsScale::ForDpi(dpi_);
  int calendar_width = 0;
  RECT r{};
  if (calendar && GetWindowRect(calendar, &r)) calendar_width = r.right - r.left;
  const TwipsRect place =
      OptionsDialogPlacement(PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), scale),
                             PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), scale), PixelsToTwips(calendar_width, scale));
  if (!Create(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kDialogClass, Utf8ToWide("オプション").c_str(),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, TwipsToPixels(place.left, scale),
              TwipsToPixels(place.top, scale), TwipsToPixels(place.width, scale), TwipsToPixels(place.height, scale),
              nullptr)) {
    return false;
  }
  own_prompts_.SetOwner(hwnd());
  CreateControls();

  COLORREF face = GetSysColor(COLOR_BTNFACE);
  model_.set_button_face(MakeRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
  model_.Load();
  ShowBehaviour();
  ShowPresets();
  ShowThemeList();
  ShowColors();
  ShowApply();
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  return true;
}

void OptionsWindow::CreateControls() {
  HWND dialog = hwnd();
  RECT client{};
  GetClientRect(dialog, &client);
  // Controls are placed in pixels of a 96-dpi screen and scaled to the calendar's monitor.
  auto scaled = [this](int pixels) { return MulDiv(pixels, dpi_, 96); };
  auto design = [this](int pixels) { return MulDiv(pixels, 96, dpi_); };
  const int width = design(client.right), height = design(client.bottom);

  LOGFONTW lf{};
  lf.lfHeight = -scaled(12);
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, Utf8ToWide("ＭＳ Ｐゴシック").c_str(), LF_FACESIZE);
  font_.reset(CreateFontIndirectW(&lf));

  auto make = [this, scaled](HWND parent, const wchar_t* cls, std::string_view text, DWORD style, int x, int y,
                             int w, int h, int id) {
    HWND control = CreateWindowExW(0, cls, Utf8ToWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, scaled(x),
                                   scaled(y), scaled(w), scaled(h), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
  };
  auto button = [&](HWND parent, std::string_view text, int x, int y, int w, int h, int id, DWORD kind) {
    return make(parent, L"BUTTON", text, kind | WS_TABSTOP, x, y, w, h, id);
  };
  auto label = [&](HWND parent, std::string_view text, int x, int y, int w, int h, int id) {
    return make(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, w, h, id);
  };

  // Bottom row: OK, Cancel, Apply.
  const int by = height - 30;
  button(dialog, "OK", width - 258, by, 80, 24, kIdOK, BS_DEFPUSHBUTTON);
  button(dialog, "キャンセル", width - 172, by, 80, 24, kIdCancel, BS_PUSHBUTTON);
  button(dialog, "適用(&A)", width - 86, by, 80, 24, kIdApply, BS_PUSHBUTTON);

  // picTabControl with the tab strip filling its client area.
  tab_host_ = std::make_unique<OptionsPanel>(*this);
  RECT host{scaled(6), scaled(6), scaled(width - 6), scaled(by - 8)};
  tab_host_->Create(dialog, host, true);
  tab_strip_ = CreateWindowExW(0, WC_TABCONTROLW, nullptr, kTabStripStyle, 0, 0, host.right - host.left,
                               host.bottom - host.top, tab_host_->hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabStrip)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tab_strip_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  for (int i = 0; i < 3; ++i) {
    std::wstring text = Utf8ToWide(kOptionsTabTexts[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tab_strip_, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }

  // The three pages overlap exactly on the tab strip's display area.
  RECT area{0, 0, host.right - host.left, host.bottom - host.top};
  SendMessageW(tab_strip_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  OffsetRect(&area, host.left, host.top);
  for (int i = 0; i < 3; ++i) {
    pages_[i] = std::make_unique<OptionsPanel>(*this);
    pages_[i]->Create(dialog, area, i == 0);
    SetWindowPos(pages_[i]->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  const int pw = design(area.right - area.left);
  const int ph = design(area.bottom - area.top);

  // Page 0: the preset lists and the saving behaviour.
  HWND p0 = pages_[0]->hwnd();
  button(p0, kFrameCaptions[0], 6, 4, pw - 12, ph - 58, kIdFrame0, BS_GROUPBOX);
  HWND type = make(p0, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 16, 24, 160, 200, kIdDUDType);
  for (const char* kind : kPresetKindNames) {
    SendMessageW(type, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(kind).c_str()));
  }
  HWND list = make(p0, WC_LISTVIEWW, "",
                   LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                   16, 52, pw - 136, ph - 140, kIdDUDList);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = scaled(pw - 160);
  ListView_InsertColumn(list, 0, &column);
  DescribeCheckList(list);
  button(p0, "追加(&N)...", pw - 112, 52, 92, 24, kIdDUDAdd, BS_PUSHBUTTON);
  button(p0, "削除(&E)...", pw - 112, 82, 92, 24, kIdDUDDel, BS_PUSHBUTTON);
  button(p0, "Shiftキーを押しながら入力決定した予定は自動的に一覧に追加する", 16, ph - 82, pw - 36, 18,
         kIdShiftAuto, BS_AUTOCHECKBOX);
  button(p0, "予定を追加・削除するたびに上書き保存する", 10, ph - 48, pw - 20, 18, kIdAutoSave, BS_AUTOCHECKBOX);
  button(p0, "タスクトレイアイコンのメニュー [ データの上書き保存 ] を使用する", 10, ph - 26, pw - 20, 18,
         kIdOverWriteMenu, BS_AUTOCHECKBOX);

  // Page 1: themes.
  HWND p1 = pages_[1]->hwnd();
  button(p1, kFrameCaptions[1], 6, 4, pw - 12, ph - 30, kIdFrame0 + 1, BS_GROUPBOX);
  make(p1, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 16, 24, pw - 32, 200, kIdThemeTitles);
  make(p1, L"STATIC", "", SS_OWNERDRAW, 16, 52, 150, 130, kIdThemeSample);
  label(p1, "", 176, 52, pw - 192, 70, kIdThemeComment);
  label(p1, "", 176, 126, pw - 192, 28, kIdThemeCopyright);
  button(p1, "追加(&N)...", 176, 158, 92, 24, kIdAddTheme, BS_PUSHBUTTON);
  button(p1, "削除(&E)...", 276, 158, 92, 24, kIdThemeDel, BS_PUSHBUTTON);
  button(p1, "サンプル画像の取り込み(&S)", 16, 190, 190, 24, kIdClipCopySample, BS_PUSHBUTTON);
  // The calendar's zoom: its own size whatever the display's scale.
  label(p1, "表示倍率(&Z) :", 216, 194, 76, 16, kIdZoomLabel);
  HWND zoom = make(p1, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 294, 190, pw - 310, 200, kIdZoom);
  for (const char* text : kZoomTexts)
    SendMessageW(zoom, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
  label(p1, "※カレンダーテーマ一覧の追加と削除は全てのユーザーに適応されます", 6, ph - 20, pw - 12, 16,
        kIdThemeNote);

  // Page 2: behaviour.
  HWND p2 = pages_[2]->hwnd();
  button(p2, kFrameCaptions[2], 6, 2, pw - 12, 80, kIdFrame0 + 2, BS_GROUPBOX);
  button(p2, "Microsoft ホイール / インテリ マウス のホイール動作を有効にする", 16, 18, pw - 32, 18,
         kIdMicrosoftWheel, BS_AUTOCHECKBOX);
  label(p2, "ホイールの回転量 :", 32, 41, 110, 16, kIdWheelChangeLabel);
  button(p2, "1週間ずつ", 146, 38, 100, 18, kIdWheelChange0, BS_AUTORADIOBUTTON | WS_GROUP);
  button(p2, "1日ずつ", 250, 38, 100, 18, kIdWheelChange1, BS_AUTORADIOBUTTON);
  label(p2, "※他社マウスでの回転量はそれぞれの設定に依存します", 32, 60, pw - 48, 16, kIdWheelNote);
  button(p2, kFrameCaptions[3], 6, 84, pw - 12, 74, kIdFrame0 + 3, BS_GROUPBOX);
  button(p2, "1日ずつスクロールする", 16, 100, pw - 32, 18, kIdScroll0, BS_AUTORADIOBUTTON | WS_GROUP);
  button(p2, "拡張表示の時は一度にスクロールする", 16, 118, pw - 32, 18, kIdScroll1, BS_AUTORADIOBUTTON);
  button(p2, "常に一度にスクロールする", 16, 136, pw - 32, 18, kIdScroll2, BS_AUTORADIOBUTTON);
  button(p2, kFrameCaptions[4], 6, 160, pw - 12, 42, kIdFrame0 + 4, BS_GROUPBOX);
  const int third = (pw - 32) / 3;
  button(p2, "今日から表示", 16, 178, third, 18, kIdStartDay0, BS_AUTORADIOBUTTON | WS_GROUP);
  button(p2, "1日前から表示", 16 + third, 178, third, 18, kIdStartDay1, BS_AUTORADIOBUTTON);
  button(p2, "1週間前から表示", 16 + 2 * third, 178, third, 18, kIdStartDay2, BS_AUTORADIOBUTTON);
  button(p2, "センタークリックでカレンダーの予定表示の内容を切り替える", 8, 208, pw - 16, 18, kIdCenterClick,
         BS_AUTOCHECKBOX | WS_GROUP);
  button(p2, "Windows XP は常にクラシック表示（テーマ対応 XPスタイル を無視する）", 8, 230, pw - 16, 18,
         kIdIgnoreXPTheme, BS_AUTOCHECKBOX);
  button(p2, "祝日を表示する", 8, 252, pw - 16, 18, kIdShowHolidays, BS_AUTOCHECKBOX);
  // Reminders: the number of days ahead stands after the box; its label comes first in the
  // z-order so that a screen reader names the number by it and Alt+Y reaches it.
  button(p2, "支払いを事前に知らせる", 8, 276, 180, 18, kIdRemindPayments, BS_AUTOCHECKBOX);
  make(p2, L"STATIC", "日前から(&Y)", SS_LEFT, 236, 278, 80, 16, kIdRemindDaysLabel);
  make(p2, L"EDIT", "", ES_NUMBER | ES_RIGHT | WS_BORDER | WS_TABSTOP, 192, 275, 40, 20, kIdRemindDays);
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                              WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_AUTOBUDDY |
                                  UDS_NOTHOUSANDS,
                              0, 0, 0, 0, p2, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRemindDaysSpin)),
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(spin, UDM_SETRANGE32, 0, 14);
  SendMessageW(Control(kIdRemindDays), EM_LIMITTEXT, 2, 0);
  button(p2, "特に特別な日も知らせる", 24, 300, pw - 32, 18, kIdRemindVerySpecial, BS_AUTOCHECKBOX);

  // imgDefalutTheme: a few day rows in the built-in theme's plain look.
  built_in_sample_ = std::make_unique<GdiCanvas>(150, 130);
  built_in_sample_->SetBackColor(MakeRgb(58, 110, 165));
  built_in_sample_->Clear();
  built_in_sample_->SetFont(FontSpec{kThemeFontFace, 9});
  built_in_sample_->SetTextColor(MakeRgb(255, 255, 255));
  const char* rows[] = {"1  月", "2  火", "3  水", "4  木", "5  金", "6  土", "7  日"};
  for (int i = 0; i < 7; ++i) built_in_sample_->PrintText(40, 8 + i * 17, rows[i]);
  built_in_sample_->PrintText(8, 8, "4月");
}

void OptionsWindow::ShowBehaviour() {
  const OptionControls& c = model_.controls();
  Check(Control(kIdMicrosoftWheel), c.chkMicrosoftWheel);
  for (int i = 0; i < 2; ++i) Check(Control(kIdWheelChange0 + i), c.optWheelChange == i);
  for (int i = 0; i < 3; ++i) {
    Check(Control(kIdScroll0 + i), c.optScroll == i);
    Check(Control(kIdStartDay0 + i), c.optStartDay == i);
  }
  EnableWindow(Control(kIdWheelChange0), c.wheel_change_enabled);
  EnableWindow(Control(kIdWheelChange1), c.wheel_change_enabled);
  EnableWindow(Control(kIdWheelChangeLabel), c.wheel_change_enabled);
  Check(Control(kIdIgnoreXPTheme), c.chkIgnoreXPTheme);
  EnableWindow(Control(kIdIgnoreXPTheme), c.ignore_xp_theme_enabled);
  Check(Control(kIdCenterClick), c.chkCenterClick);
  Check(Control(kIdShowHolidays), c.chkShowHolidays);
  Check(Control(kIdRemindPayments), c.chkRemindPayments);
  Check(Control(kIdRemindVerySpecial), c.chkRemindVerySpecial);
  showing_ = true;  // the number set here is no change of the user's
  SendMessageW(Control(kIdRemindDaysSpin), UDM_SETPOS32, 0, c.txtRemindDays);
  showing_ = false;
  for (int id : {kIdRemindDaysLabel, kIdRemindDays, kIdRemindDaysSpin, kIdRemindVerySpecial})
    EnableWindow(Control(id), c.chkRemindPayments);
  Check(Control(kIdShiftAuto), c.chkShiftAuto);
  Check(Control(kIdOverWriteMenu), c.chkOverWriteMenu);
  Check(Control(kIdAutoSave), c.chkAutoSave);
  SendMessageW(Control(kIdZoom), CB_SETCURSEL, static_cast<WPARAM>(c.cboZoom), 0);
}

void OptionsWindow::ShowPresets() {
  PresetPage& page = model_.preset_page();
  SendMessageW(Control(kIdDUDType), CB_SETCURSEL, static_cast<WPARAM>(page.kind()), 0);
  HWND list = Control(kIdDUDList);
  // The kind box stands before the list, no label: its text names it for screen readers.
  SetWindowTextW(list, Utf8ToWide(std::string(kFrameCaptions[0]) + " " + kPresetKindNames[page.kind() & 3]).c_str());
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SetListViewRows(list, page.lines());
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void OptionsWindow::ShowThemeList() {
  HWND titles = Control(kIdThemeTitles);
  SendMessageW(titles, CB_RESETCONTENT, 0, 0);
  for (const std::string& title : model_.theme_page().titles()) {
    SendMessageW(titles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(title).c_str()));
  }
  ShowThemeChoice();
}

void OptionsWindow::ShowThemeChoice() {
  ThemePage& page = model_.theme_page();
  SendMessageW(Control(kIdThemeTitles), CB_SETCURSEL, static_cast<WPARAM>(page.chosen()), 0);
  SetWindowTextW(Control(kIdThemeComment), Utf8ToWide(page.comment()).c_str());
  SetWindowTextW(Control(kIdThemeCopyright), Utf8ToWide(page.copyright()).c_str());
  EnableWindow(Control(kIdThemeDel), page.delete_enabled());
  InvalidateRect(Control(kIdThemeSample), nullptr, TRUE);
  ShowApply();
}

void OptionsWindow::ShowColors() {
  // Under High Contrast the pages keep the system's face colour, whatever the theme says.
  const Rgb color = HighContrastOn() ? static_cast<Rgb>(GetSysColor(COLOR_BTNFACE)) : model_.page_color();
  page_color_ = color;
  page_brush_.reset(CreateSolidBrush(color));
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OptionsWindow::ShowApply() { EnableWindow(Control(kIdApply), model_.apply_enabled()); }

void OptionsWindow::DrawSample(const DRAWITEMSTRUCT& item) {
  const RECT& box = item.rcItem;
  FillRect(item.hDC, &box, page_brush_.get());
  const ThemePage& page = model_.theme_page();
  const int bw = box.right - box.left, bh = box.bottom - box.top;
  auto fit = [&](int w, int h) {
    // Shrunk to the box, never enlarged, keeping its proportions.
    double scale = std::min({1.0, static_cast<double>(bw) / std::max(w, 1), static_cast<double>(bh) / std::max(h, 1)});
    RECT r{box.left, box.top, box.left + static_cast<int>(w * scale), box.top + static_cast<int>(h * scale)};
    return r;
  };
  if (page.sample_is_built_in()) {
    const GdiCanvas& sample = *built_in_sample_;
    RECT r = fit(sample.Width(), sample.Height());
    SetStretchBltMode(item.hDC, HALFTONE);
    StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, sample.dc(), 0, 0, sample.Width(),
               sample.Height(), SRCCOPY);
  } else if (auto* picture = dynamic_cast<const Win32Picture*>(page.sample().get())) {
    picture->Render(item.hDC, fit(picture->Width(), picture->Height()), RasterOp::Copy);
  }
}

void OptionsWindow::CopyCalendarPicture() {
  const GdiCanvas* picture = context_.calendar_picture.CalendarPicture();
  if (!OpenClipboard(hwnd())) return;
  EmptyClipboard();
  if (picture && picture->Width() > 0 && picture->Height() > 0) {
    HDC screen = GetDC(nullptr);
    BitmapHandle bitmap(CreateCompatibleBitmap(screen, picture->Width(), picture->Height()));
    MemoryDc dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (bitmap && dc) {
      {
        SelectedObject selected(dc.get(), bitmap.get());
        BitBlt(dc.get(), 0, 0, picture->Width(), picture->Height(), picture->dc(), 0, 0, SRCCOPY);
      }
      // The clipboard owns the bitmap once it accepted it.
      if (SetClipboardData(CF_BITMAP, bitmap.get())) bitmap.release();
    }
  }
  CloseClipboard();
}

void OptionsWindow::ChangedTab(int index) {
  model_.ChangedTab(index);
  const int shown = model_.tab();
  for (int i = 0; i < 3; ++i) ShowWindow(Page(i), i == shown ? SW_SHOW : SW_HIDE);
  // A disabled or hidden control simply does not take the focus.
  SetFocus(Control(kFirstControl[shown]));
}

void OptionsWindow::ForcedChangeTab(int index) {
  const int tab = ClampTab(index);
  SendMessageW(tab_strip_, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
  // The strip notifies the change, which shows the page; should a strip not notify (the
  // first focus change of some implementations), the page is shown here all the same.
  if (model_.tab() != tab && SendMessageW(tab_strip_, TCM_GETCURSEL, 0, 0) == tab) ChangedTab(tab);
}

bool OptionsWindow::PreTranslate(MSG& msg) {
  if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
  if (msg.message == WM_SYSKEYDOWN && (msg.lParam & (1 << 29))) {
    const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) | 4;
    if (auto tab = TabForKey(static_cast<int>(msg.wParam), shift)) {
      ForcedChangeTab(*tab);
      return true;
    }
  }
  return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void OptionsWindow::Close() {
  // Destroyed after the message that closes it has been handled: the host drops the object
  // the next time it is asked to show the dialog.
  DestroyWindow(hwnd());
}

void OptionsWindow::OnCommand(int id, int code) {
  OptionControls& c = model_.controls();
  switch (id) {
    case kIdOK:
      model_.OK();
      Close();
      return;
    case kIdCancel:
      Close();
      return;
    case kIdApply: {
      const Rgb before = model_.page_color();
      model_.Apply();
      if (model_.page_color() != before) ShowColors();
      ShowApply();
      return;
    }
    case kIdDUDType:
      if (code == CBN_SELCHANGE) {
        model_.preset_page().ChooseKind(static_cast<int>(SendMessageW(Control(kIdDUDType), CB_GETCURSEL, 0, 0)));
        ShowPresets();
      }
      return;
    case kIdDUDAdd:
      model_.preset_page().AddPreset();
      ShowPresets();
      return;
    case kIdDUDDel: {
      HWND list = Control(kIdDUDList);
      std::vector<bool> ticked;
      const int count = ListView_GetItemCount(list);
      for (int i = 0; i < count; ++i) ticked.push_back(ListView_GetCheckState(list, i) != FALSE);
      model_.preset_page().DeleteTickedPresets(ticked);
      ShowPresets();
      return;
    }
    case kIdThemeTitles:
      if (code == CBN_SELCHANGE) {
        model_.theme_page().Choose(static_cast<int>(SendMessageW(Control(kIdThemeTitles), CB_GETCURSEL, 0, 0)));
        ShowThemeChoice();
      }
      return;
    case kIdAddTheme:
      model_.theme_page().AddTheme();
      ShowThemeList();
      return;
    case kIdThemeDel:
      model_.theme_page().DeleteTheme();
      ShowThemeList();
      return;
    case kIdClipCopySample:
      model_.theme_page().CopySample([this] { CopyCalendarPicture(); });
      return;
    case kIdZoom:
      if (code == CBN_SELCHANGE) {
        c.cboZoom = static_cast<int>(SendMessageW(Control(kIdZoom), CB_GETCURSEL, 0, 0));
        model_.ControlClicked();
        ShowApply();
      }
      return;
    case kIdRemindDays:
      if (code == EN_CHANGE && !showing_) {
        wchar_t text[8] = L"";
        GetWindowTextW(Control(kIdRemindDays), text, 8);
        c.txtRemindDays = std::clamp(_wtoi(text), 0, 14);  // "99" typed reads as 14, nothing as 0
        model_.ControlClicked();
        ShowApply();
      }
      return;
    case kIdRemindPayments:
      if (code != BN_CLICKED) return;
      c.chkRemindPayments = Checked(Control(id));
      model_.ControlClicked();
      ShowBehaviour();
      ShowApply();
      return;
    case kIdMicrosoftWheel:
      model_.SetWheelBox(Checked(Control(kIdMicrosoftWheel)));
      ShowBehaviour();
      ShowApply();
      return;
    default:
      break;
  }
  if (code != BN_CLICKED) return;
  if (id >= kIdWheelChange0 && id <= kIdWheelChange1) c.optWheelChange = id - kIdWheelChange0;
  else if (id >= kIdScroll0 && id <= kIdScroll2) c.optScroll = id - kIdScroll0;
  else if (id >= kIdStartDay0 && id <= kIdStartDay2) c.optStartDay = id - kIdStartDay0;
  else if (id == kIdCenterClick) c.chkCenterClick = Checked(Control(id));
  else if (id == kIdIgnoreXPTheme) c.chkIgnoreXPTheme = Checked(Control(id));
  else if (id == kIdShowHolidays) c.chkShowHolidays = Checked(Control(id));
  else if (id == kIdRemindVerySpecial) c.chkRemindVerySpecial = Checked(Control(id));
  else if (id == kIdShiftAuto) c.chkShiftAuto = Checked(Control(id));
  else if (id == kIdOverWriteMenu) c.chkOverWriteMenu = Checked(Control(id));
  else if (id == kIdAutoSave) c.chkAutoSave = Checked(Control(id));
  else return;
  model_.ControlClicked();
  ShowApply();
}

LRESULT OptionsWindow::PanelMessage(HWND panel, UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  const bool is_page = panel != (tab_host_ ? tab_host_->hwnd() : nullptr);
  switch (message) {
    case WM_COMMAND:
      handled = true;
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == tab_strip_ && header->code == TCN_SELCHANGE) {
        ChangedTab(static_cast<int>(SendMessageW(tab_strip_, TCM_GETCURSEL, 0, 0)));
      }
      return 0;  // not handled: default processing follows
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlID == kIdThemeSample) {
        DrawSample(*item);
        handled = true;
        return TRUE;
      }
      return 0;
    }
    case WM_ERASEBKGND:
      if (is_page && page_brush_) {
        RECT r{};
        GetClientRect(panel, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, page_brush_.get());
        handled = true;
        return 1;
      }
      if (!is_page) {
        RECT r{};
        GetClientRect(panel, &r);
        FillRect(reinterpret_cast<HDC>(wparam), &r, GetSysColorBrush(COLOR_BTNFACE));
        handled = true;
        return 1;
      }
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Buttons, boxes and group frames take the page colour; labels keep their own.
      HWND control = reinterpret_cast<HWND>(lparam);
      wchar_t cls[16] = {};
      GetClassNameW(control, cls, 16);
      if (is_page && page_brush_ && lstrcmpiW(cls, L"Button") == 0) {
        SetBkColor(reinterpret_cast<HDC>(wparam), page_color_);
        handled = true;
        return reinterpret_cast<LRESULT>(page_brush_.get());
      }
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT OptionsWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // High Contrast may have come or gone.
      if (message == WM_SYSCOLORCHANGE || wparam == SPI_SETHIGHCONTRAST) ShowColors();
      return Default(message, wparam, lparam);
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(hwnd(), &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_DESTROY:
      // The tab strip goes first, then the pages and the tab strip's host.
      if (tab_strip_) DestroyWindow(tab_strip_);
      tab_strip_ = nullptr;
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

void OptionsDialogHost::Show() {
  if (window_ && window_->hwnd()) {
    HWND open = window_->hwnd();
    if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
    SetForegroundWindow(open);
    return;
  }
  window_ = std::make_unique<OptionsWindow>(context_);
  if (!window_->Open()) window_.reset();
}

bool OptionsDialogHost::PreTranslate(MSG& msg) {
  OptionsWindow* open = window();
  return open && open->PreTranslate(msg);
}

}  // namespace orv
