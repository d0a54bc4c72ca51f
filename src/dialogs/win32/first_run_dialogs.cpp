#include "dialogs/win32/first_run_dialogs.hpp"


#include "desktop/win32/program_icons.hpp"
#include "dialogs/first_run.hpp"
#include "dialogs/win32/dialog_ids.h"
#include "platform/win32/wide.hpp"
#include "platform/win32/win32_prompts.hpp"
#include "platform/win32/window_base.hpp"
#include "platform/win32/delay_load.hpp"

namespace orv {
namespace {

// The name label's font and the decorative picture, shared by both dialogs.
struct DialogLook {
  FontHandle name_font;
  IconHandle picture;
  void Apply(HWND dialog) {
    HDC dc = GetDC(dialog);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(dialog, dc);
    name_font.reset(CreateFontW(-MulDiv(12, dpi, 72), 0, 0, 0, FW_NORMAL,
                                FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐゴシック"));
    SendDlgItemMessageW(dialog, IDC_NAME, WM_SETFONT, reinterpret_cast<WPARAM>(name_font.get()), TRUE);
    SetDlgItemTextW(dialog, IDC_VERSION, Utf8ToWide(VersionText()).c_str());
    picture = MakeTrayIcon(false);
  }
  void Draw(const DRAWITEMSTRUCT* item) {
    if (item->CtlID == IDC_IMAGE && picture)
      DrawIconEx(item->hDC, item->rcItem.left, item->rcItem.top, picture.get(),
                 item->rcItem.right - item->rcItem.left, item->rcItem.bottom - item->rcItem.top, 0, nullptr,
                 DI_NORMAL);
  }
};

struct UserDataDialogState {
  std::string* path;
  DialogLook look;
};

// The filter with its '|' separators turned into the NUL-separated list the API wants.
std::wstring FilterList() {
  std::wstring filter = Utf8ToWide(kFileDialogFilter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  return filter;
}

void ChooseFile(HWND dialog, UserDataDialogState& state) {
  wchar_t file[MAX_PATH * 4] = L"";
  const std::wstring filter = FilterList();
  const std::wstring title = Utf8ToWide(kFileDialogTitle);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(std::size(file));
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_PATHMUSTEXIST;  // the folder must exist; the file need not, so it can be new
  if (!ShowOpenFileDialog(ofn)) return;         // cancelled: the dialog stays open
  if (file[0] == L'\0') return;
  *state.path = WideToUtf8(file);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK UserDataProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    auto* state = reinterpret_cast<UserDataDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
      case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        state = reinterpret_cast<UserDataDialogState*>(lparam);
        state->look.Apply(dialog);
        SetDlgItemTextW(dialog, IDC_MSG, Utf8ToWide(kFirstRunMessage).c_str());
        SetForegroundWindow(dialog);
        return TRUE;
      case WM_DRAWITEM:
        if (state) state->look.Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wparam) == IDC_FILE || LOWORD(wparam) == IDOK) {
          if (state) ChooseFile(dialog, *state);
        } else if (LOWORD(wparam) == IDCANCEL) {
          EndDialog(dialog, IDCANCEL);  // the close box: the path stays as it was
        }
        return TRUE;
      default: break;
    }
  } catch (...) {
  }
  return FALSE;
}

}  // namespace

void ShowUserDataDialog(std::string& user_data_path) {
  UserDataDialogState state{&user_data_path, {}};
  if (!DialogLibrariesReady(nullptr) || !EnsureCommonControls()) return;
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_USERDATA), nullptr, UserDataProcedure,
                  reinterpret_cast<LPARAM>(&state));
}

void VersionDialog::Show() {
  if (!hwnd_) {
    if (!DialogLibrariesReady(nullptr) || !EnsureCommonControls()) return;
    hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_VERSION), nullptr, Procedure,
                               reinterpret_cast<LPARAM>(this));
  }
  if (hwnd_) {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
  }
}

void VersionDialog::Unload() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

INT_PTR CALLBACK VersionDialog::Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    auto* self = reinterpret_cast<VersionDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    static DialogLook look;  // one version dialog at a time
    switch (message) {
      case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        look.Apply(dialog);
        return TRUE;
      case WM_DRAWITEM: look.Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
      case WM_COMMAND:
        if ((LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == IDOK) && self) self->Unload();
        return TRUE;
      case WM_CLOSE:
        if (self) self->Unload();
        return TRUE;
      default: break;
    }
  } catch (...) {
  }
  return FALSE;
}

}  // namespace orv
