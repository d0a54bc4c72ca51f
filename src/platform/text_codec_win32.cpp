// Code page 932 through the system's conversion tables (the Windows build).
#include <windows.h>

#include "platform/text_codec_platform.hpp"
#include "platform/win32/wide.hpp"

namespace orv {

std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8) {
  auto wide = Utf8ToWideStrict(utf8);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  const int wlen = static_cast<int>(wide->size());
  BOOL used_default = FALSE;
  int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide->data(), wlen, nullptr, 0, nullptr,
                              &used_default);
  if (n <= 0 || used_default) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide->data(), wlen, out.data(), n, nullptr,
                      &used_default);
  if (used_default) return std::nullopt;
  // Round-trip check: refuses characters the tables only map one way.
  int back = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, out.data(), n, nullptr, 0);
  std::wstring check(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
  if (back <= 0 ||
      MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, out.data(), n, check.data(), back) != back ||
      check != *wide)
    return std::nullopt;
  return out;
}

std::optional<std::string> PlatformCp932ToUtf8(std::string_view cp932) {
  if (cp932.empty()) return std::string();
  const int len = static_cast<int>(cp932.size());
  int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cp932.data(), len, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, cp932.data(), len, wide.data(), n);
  return WideToUtf8(wide);
}

}  // namespace orv
