#include "platform/win32/system_error.hpp"

#include <windows.h>

#include "platform/win32/wide.hpp"

namespace orv {

SystemError DescribeSystemError(unsigned long number) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, number, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string description;
  if (n && text) {
    description = WideToUtf8(std::wstring_view(text, n));
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' '))
      description.pop_back();
  }
  if (text) LocalFree(text);
  if (description.empty()) description = "Error " + std::to_string(number);
  return {static_cast<long>(number), description};
}

SystemError LastSystemError() {
  DWORD number = GetLastError();
  return DescribeSystemError(number ? number : ERROR_GEN_FAILURE);
}

}  // namespace orv
