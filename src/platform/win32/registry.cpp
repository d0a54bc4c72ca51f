#include "platform/win32/registry.hpp"

#include <windows.h>

#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A REG_SZ value (or a REG_EXPAND_SZ value, expanded), whole, without its terminator.
std::optional<std::wstring> ReadWideText(HKEY root, const std::wstring& subkey,
                                         const std::wstring& name) {
  std::wstring buffer(64, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LSTATUS status = RegGetValueW(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                                  buffer.data(), &bytes);
    if (status == ERROR_MORE_DATA) {
      buffer.resize(bytes / sizeof(wchar_t) + 1);
      continue;  // the value may grow between the calls: try again
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    buffer.resize(bytes / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    return buffer;
  }
  return std::nullopt;
}

std::wstring SectionKey(const std::string& base, std::string_view application,
                        std::string_view section) {
  return Utf8ToWide(base + "\\" + std::string(application) + "\\" + std::string(section));
}

}  // namespace

std::string RegistrySettingsStore::Get(std::string_view application, std::string_view section,
                                       std::string_view key,
                                       std::string_view default_value) const {
  auto value = ReadWideText(HKEY_CURRENT_USER, SectionKey(base_, application, section),
                            Utf8ToWide(key));
  return value ? WideToUtf8(*value) : std::string(default_value);
}

void RegistrySettingsStore::Set(std::string_view application, std::string_view section,
                                std::string_view key, std::string_view value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionKey(base_, application, section).c_str(), 0,
                      nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
    return;
  RegKey owned(raw);
  const std::wstring text = Utf8ToWide(value);
  RegSetValueExW(owned.get(), Utf8ToWide(key).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::string> Win32RegistryReader::ReadText(RegistryRoot root, std::string_view subkey,
                                                         std::string_view name) const {
  auto value = ReadWideText(RootKey(root), Utf8ToWide(subkey), Utf8ToWide(name));
  if (!value) return std::nullopt;
  return WideToUtf8(*value);
}

std::optional<std::uint32_t> Win32RegistryReader::ReadNumber(RegistryRoot root,
                                                             std::string_view subkey,
                                                             std::string_view name) const {
  DWORD value = 0;
  DWORD bytes = sizeof value;
  if (RegGetValueW(RootKey(root), Utf8ToWide(subkey).c_str(), Utf8ToWide(name).c_str(),
                   RRF_RT_REG_DWORD, nullptr, &value, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace orv
