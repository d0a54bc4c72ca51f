#include <windows.h>

#include "app/win32/interim_adapters.hpp"

#include "platform/win32/gdi_canvas.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {
std::wstring SettingsKey(std::string_view application, std::string_view section) {
  return L"Software\\" + Utf8ToWide(application) + L"\\" + Utf8ToWide(section);
}
HKEY Root(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
}  // namespace

std::string InterimSettingsStore::Get(std::string_view application, std::string_view section,
                                      std::string_view key, std::string_view default_value) const {
  wchar_t buffer[2048];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CURRENT_USER, SettingsKey(application, section).c_str(), Utf8ToWide(key).c_str(),
                   RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
    return std::string(default_value);
  return WideToUtf8(buffer);
}

void InterimSettingsStore::Set(std::string_view application, std::string_view section, std::string_view key,
                               std::string_view value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey(application, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &raw, nullptr) != ERROR_SUCCESS)
    return;
  RegKey owner(raw);
  const std::wstring text = Utf8ToWide(value);
  RegSetValueExW(raw, Utf8ToWide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::string> InterimRegistryReader::ReadText(RegistryRoot root, std::string_view subkey,
                                                           std::string_view name) const {
  wchar_t buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueW(Root(root), Utf8ToWide(subkey).c_str(), Utf8ToWide(name).c_str(), RRF_RT_REG_SZ, nullptr,
                   buffer, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return WideToUtf8(buffer);
}

std::optional<std::uint32_t> InterimRegistryReader::ReadNumber(RegistryRoot root, std::string_view subkey,
                                                               std::string_view name) const {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(Root(root), Utf8ToWide(subkey).c_str(), Utf8ToWide(name).c_str(), RRF_RT_REG_DWORD, nullptr,
                   &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

LoadedPicture InterimPictureLoader::Load(const std::string& path) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, Utf8ToWide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) {
    const DWORD error = GetLastError();
    return {nullptr, {static_cast<long>(error ? error : 1), "not a bitmap"}};
  }
  return {std::make_shared<BitmapPicture>(BitmapHandle(bitmap)), {}};
}

}  // namespace orv
