#include "platform/win32/win32_number_conversion.hpp"

#include <windows.h>
#include <oleauto.h>

#include "platform/win32/wide.hpp"

namespace orv {

std::optional<std::int32_t> Win32NumberConversion::ToLong(std::string_view text) {
  // An empty text and text the conversion refuses (letters, overflow) are no number.
  std::wstring wide = Utf8ToWide(text);
  if (wide.empty()) return std::nullopt;
  LONG value = 0;
  if (FAILED(VarI4FromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &value))) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace orv
