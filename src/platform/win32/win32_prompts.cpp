#include "platform/win32/win32_prompts.hpp"

#include <commctrl.h>

#include <vector>

#include "platform/win32/system_function.hpp"

#include "platform/win32/wide.hpp"
#include "platform/win32/window_base.hpp"
#include "platform/win32/delay_load.hpp"

namespace orv {
namespace {

// The input box is built in memory: a caption, a prompt, one edit box, OK and Cancel.
constexpr int kPromptId = 100;
constexpr int kEditId = 101;

struct InputBoxData {
  std::wstring prompt, title, text;
};

void AppendWords(std::vector<WORD>& out, std::wstring_view text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void AlignToDword(std::vector<WORD>& out) {
  if (out.size() % 2) out.push_back(0);
}

// One DLGITEMTEMPLATE with a predefined class (0x0080 button, 0x0081 edit, 0x0082 static).
void AppendItem(std::vector<WORD>& out, DWORD style, short x, short y, short cx, short cy, WORD id,
                WORD atom, std::wstring_view text) {
  AlignToDword(out);
  DLGITEMTEMPLATE item{};
  item.style = style | WS_CHILD | WS_VISIBLE;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.id = id;
  const auto* words = reinterpret_cast<const WORD*>(&item);
  out.insert(out.end(), words, words + sizeof item / sizeof(WORD));
  out.push_back(0xFFFF);
  out.push_back(atom);
  AppendWords(out, text);
  out.push_back(0);  // no creation data
}

std::vector<WORD> InputBoxTemplate() {
  std::vector<WORD> out;
  DLGTEMPLATE dialog{};
  dialog.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dialog.cdit = 4;
  dialog.cx = 240;
  dialog.cy = 84;
  const auto* words = reinterpret_cast<const WORD*>(&dialog);
  out.insert(out.end(), words, words + sizeof dialog / sizeof(WORD));
  out.push_back(0);  // no menu
  out.push_back(0);  // standard class
  out.push_back(0);  // caption set at run time
  out.push_back(9);
  AppendWords(out, L"ＭＳ Ｐゴシック");
  AppendItem(out, SS_LEFT, 7, 7, 170, 48, kPromptId, 0x0082, L"");
  AppendItem(out, BS_DEFPUSHBUTTON | WS_TABSTOP, 184, 7, 50, 14, IDOK, 0x0080, L"OK");
  AppendItem(out, BS_PUSHBUTTON | WS_TABSTOP, 184, 25, 50, 14, IDCANCEL, 0x0080, L"キャンセル");
  AppendItem(out, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 62, 226, 13, kEditId, 0x0081, L"");
  return out;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      data = reinterpret_cast<InputBoxData*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      SetWindowTextW(dialog, data->title.c_str());
      SetDlgItemTextW(dialog, kPromptId, data->prompt.c_str());
      SetDlgItemTextW(dialog, kEditId, data->text.c_str());
      SendDlgItemMessageW(dialog, kEditId, EM_SETSEL, 0, -1);
      SetFocus(GetDlgItem(dialog, kEditId));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK && data) {
        const int length = GetWindowTextLengthW(GetDlgItem(dialog, kEditId));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetDlgItemTextW(dialog, kEditId, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        data->text = std::move(text);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

UINT MessageBoxFlags(MessageIcon icon, MessageButtons buttons) {
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
  return flags;
}

std::wstring OpenFileFilter(std::string_view filter) {
  std::wstring wide = Utf8ToWide(filter);
  for (auto& c : wide)
    if (c == L'|') c = L'\0';
  wide.push_back(L'\0');
  wide.push_back(L'\0');
  return wide;
}

MessageAnswer Win32Prompts::Message(MessageIcon icon, MessageButtons buttons,
                                    std::string_view title, std::string_view text) {
  const int pressed = MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(),
                                  MessageBoxFlags(icon, buttons));
  switch (pressed) {
    case IDOK: return MessageAnswer::Ok;
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
  }
}

std::optional<std::string> Win32Prompts::Input(std::string_view prompt, std::string_view title,
                                               std::string_view default_text) {
  InputBoxData data{Utf8ToWide(prompt), Utf8ToWide(title), Utf8ToWide(default_text)};
  const auto dialog_template = InputBoxTemplate();
  if (!DialogLibrariesReady(owner_) || !EnsureCommonControls()) return std::nullopt;
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog_template.data()),
      owner_, InputBoxProc, reinterpret_cast<LPARAM>(&data));
  if (result != IDOK) return std::nullopt;
  return WideToUtf8(data.text);
}

std::optional<std::size_t> Win32Prompts::Choose(const ChoiceRequest& request) {
  using TaskDialogFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  // Only the common controls of version 6 have it; the program's manifest asks for them.
  const auto show = SystemFunction<TaskDialogFn>(L"comctl32.dll", "TaskDialogIndirect");
  if (!show || request.choices.empty()) return std::nullopt;
  std::vector<std::wstring> texts;
  for (const std::string& choice : request.choices) texts.push_back(Utf8ToWide(choice));
  std::vector<TASKDIALOG_BUTTON> buttons;
  for (std::size_t i = 0; i < texts.size(); ++i) buttons.push_back({kFirstChoiceId + static_cast<int>(i), texts[i].c_str()});
  const std::wstring title = Utf8ToWide(request.title), instruction = Utf8ToWide(request.instruction),
                     content = Utf8ToWide(request.content);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner_;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_USE_COMMAND_LINKS | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszMainInstruction = instruction.empty() ? nullptr : instruction.c_str();
  config.pszContent = content.empty() ? nullptr : content.c_str();
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.data();
  config.nDefaultButton = kFirstChoiceId + static_cast<int>(request.default_choice);
  int pressed = 0;
  if (FAILED(show(&config, &pressed, nullptr, nullptr))) return std::nullopt;
  if (pressed < kFirstChoiceId || pressed >= kFirstChoiceId + static_cast<int>(buttons.size())) return std::nullopt;
  return static_cast<std::size_t>(pressed - kFirstChoiceId);
}

bool ShowOpenFileDialog(OPENFILENAMEW& request) {
  using Function = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const Function function = []() -> Function {
    HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (!library) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameW")));
  }();
  return function && function(&request);
}

std::optional<std::string> Win32Prompts::OpenFile(const OpenFileRequest& request) {
  const std::wstring filter = OpenFileFilter(request.filter);
  const std::wstring title = Utf8ToWide(request.title);
  const std::wstring folder = Utf8ToWide(request.initial_folder);
  const std::wstring extension = Utf8ToWide(request.default_extension);
  std::wstring path(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_;
  ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
              (request.must_exist ? OFN_FILEMUSTEXIST : 0);
  if (!ShowOpenFileDialog(ofn)) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return WideToUtf8(path);
}

}  // namespace orv
