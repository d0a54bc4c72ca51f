#pragma once
// The system's prompts: MessageBoxW, a small modal input box and the common open-file
// dialog. Every prompt is owned by `owner` (may be null).
#include <windows.h>

#include "platform/prompts.hpp"

namespace orv {

class Win32Prompts : public Prompts {
public:
  explicit Win32Prompts(HWND owner = nullptr) : owner_(owner) {}
  void set_owner(HWND owner) { owner_ = owner; }

  MessageAnswer Message(MessageIcon icon, MessageButtons buttons, std::string_view title,
                        std::string_view text) override;
  std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                   std::string_view default_text) override;
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;

private:
  HWND owner_;
};

// The filter of an OpenFileRequest ("name|pattern|name|pattern") in the dialog's form:
// NUL-separated pairs ending in two NULs.
std::wstring OpenFileFilter(std::string_view filter);

}  // namespace orv
