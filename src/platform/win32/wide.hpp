#pragma once
// UTF-8 <-> UTF-16 at the Win32 API edge. UTF-16 exists only in calls to the W functions.
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Invalid UTF-8 becomes U+FFFD; use for texts that go to the screen or the system.
std::wstring Utf8ToWide(std::string_view utf8);
// nullopt on invalid UTF-8; use where a changed text would be stored.
std::optional<std::wstring> Utf8ToWideStrict(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace orv
