#pragma once
// The system's prompts: MessageBoxW, a small input box and the common open-file dialog, all
// modal to `owner` (which may change while the program runs, hence the setter).
#include <windows.h>
#include <commdlg.h>

#include "platform/prompts.hpp"

namespace orv {

class Win32Prompts : public Prompts {
public:
  explicit Win32Prompts(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }

  MessageAnswer Message(MessageIcon icon, MessageButtons buttons, std::string_view title,
                        std::string_view text) override;
  std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                   std::string_view default_text) override;
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  // A task dialog with one command link per choice and Cancel; the choices' ids are
  // kFirstChoiceId on.
  std::optional<std::size_t> Choose(const ChoiceRequest& request) override;
  static constexpr int kFirstChoiceId = 2001;

private:
  HWND owner_;  // not owned
};

// The flags of MessageBoxW for an icon and a button set (exposed for tests).
UINT MessageBoxFlags(MessageIcon icon, MessageButtons buttons);
// GetOpenFileNameW from a library loaded at the first call and kept. The common dialog
// library pulls in the printing system, megabytes the program should not carry for a dialog
// most runs never open. False when cancelled or when the library is not there.
bool ShowOpenFileDialog(OPENFILENAMEW& request);
// "a|b|c|d" -> "a\0b\0c\0d\0\0", the open-file dialog's filter form.
std::wstring OpenFileFilter(std::string_view filter);

}  // namespace orv
