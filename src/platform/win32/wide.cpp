#include "platform/win32/wide.hpp"

#include <windows.h>

namespace orv {
namespace {

std::optional<std::wstring> Convert(std::string_view utf8, DWORD flags) {
  if (utf8.empty()) return std::wstring();
  const int len = static_cast<int>(utf8.size());
  int n = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), len, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, flags, utf8.data(), len, out.data(), n);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) { return Convert(utf8, 0).value_or(std::wstring()); }

std::optional<std::wstring> Utf8ToWideStrict(std::string_view utf8) {
  return Convert(utf8, MB_ERR_INVALID_CHARS);
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int len = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace orv
