#include "platform/win32/prompts_win32.hpp"

#include <commdlg.h>

#include <vector>

#include "platform/win32/wide.hpp"

namespace orv {
namespace {

constexpr int kInputEdit = 100;
constexpr int kInputPrompt = 101;

struct InputState {
  std::wstring prompt, title, text;
  bool ok = false;
};

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    switch (message) {
      case WM_INITDIALOG: {
        auto* state = reinterpret_cast<InputState*>(lparam);
        SetWindowLongPtrW(dialog, DWLP_USER, lparam);
        SetWindowTextW(dialog, state->title.c_str());
        SetDlgItemTextW(dialog, kInputPrompt, state->prompt.c_str());
        SetDlgItemTextW(dialog, kInputEdit, state->text.c_str());
        SendDlgItemMessageW(dialog, kInputEdit, EM_SETSEL, 0, -1);
        return TRUE;
      }
      case WM_COMMAND: {
        auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        const int id = LOWORD(wparam);
        if (id == IDOK && state) {
          HWND edit = GetDlgItem(dialog, kInputEdit);
          std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
          text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
          state->text = std::move(text);
          state->ok = true;
        }
        if (id == IDOK || id == IDCANCEL) {
          EndDialog(dialog, id);
          return TRUE;
        }
        break;
      }
      default:
        break;
    }
  } catch (...) {
  }
  return FALSE;
}

// An in-memory dialog template: words, each item DWORD-aligned.
class TemplateWriter {
public:
  void Word(WORD w) { data_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Align() {
    if (data_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD class_atom, const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);
    Word(class_atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
  std::vector<WORD> data_;
};

}  // namespace

std::wstring OpenFileFilter(std::string_view filter) {
  std::wstring wide = Utf8ToWide(filter);
  for (auto& c : wide) {
    if (c == L'|') c = L'\0';
  }
  wide.push_back(L'\0');
  wide.push_back(L'\0');
  return wide;
}

MessageAnswer Win32Prompts::Message(MessageIcon icon, MessageButtons buttons, std::string_view title,
                                    std::string_view text) {
  UINT flags = MB_SETFOREGROUND;
  switch (icon) {
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
    case MessageIcon::Warning: flags |= MB_ICONWARNING; break;
    case MessageIcon::Critical: flags |= MB_ICONERROR; break;
    case MessageIcon::None: break;
  }
  switch (buttons) {
    case MessageButtons::Ok: flags |= MB_OK; break;
    case MessageButtons::OkCancel: flags |= MB_OKCANCEL; break;
    case MessageButtons::YesNo: flags |= MB_YESNO; break;
  }
  const int result = MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), flags);
  switch (result) {
    case IDOK: return MessageAnswer::Ok;
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
  }
}

std::optional<std::string> Win32Prompts::Input(std::string_view prompt, std::string_view title,
                                               std::string_view default_text) {
  InputState state{Utf8ToWide(prompt), Utf8ToWide(title), Utf8ToWide(default_text)};
  TemplateWriter t;
  t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  t.Word(0);
  t.Word(0);
  t.Word(240);
  t.Word(74);
  t.Word(0);  // no menu
  t.Word(0);  // standard class
  t.Text(L"");
  t.Word(9);
  t.Text(L"ＭＳ Ｐゴシック");
  t.Item(SS_LEFT, 7, 7, 170, 40, kInputPrompt, 0x0082, L"");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 54, 226, 13, kInputEdit, 0x0081, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, IDOK, 0x0080, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, IDCANCEL, 0x0080, L"キャンセル");
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner_, InputProc,
                          reinterpret_cast<LPARAM>(&state));
  if (!state.ok) return std::nullopt;
  return WideToUtf8(state.text);
}

std::optional<std::string> Win32Prompts::OpenFile(const OpenFileRequest& request) {
  std::wstring filter = OpenFileFilter(request.filter);
  std::wstring title = Utf8ToWide(request.title);
  std::wstring folder = Utf8ToWide(request.initial_folder);
  std::wstring extension = Utf8ToWide(request.default_extension);
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (request.must_exist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return WideToUtf8(file.data());
}

}  // namespace orv
