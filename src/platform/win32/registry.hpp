#pragma once
// The registry adapters: the settings store under HKCU\<base>\<application>\<section>, with
// every value a REG_SZ text, and the reader of single values (the wallpaper settings).
#include <string>

#include "platform/registry_reader.hpp"
#include "platform/settings_store.hpp"

namespace orv {

class RegistrySettingsStore : public SettingsStore {
public:
  // `base` is the key under HKEY_CURRENT_USER that holds the applications; tests give
  // their own to leave the real settings alone.
  explicit RegistrySettingsStore(std::string base = "Software") : base_(std::move(base)) {}
  std::string Get(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view default_value) const override;
  void Set(std::string_view application, std::string_view section, std::string_view key,
           std::string_view value) override;

private:
  std::string base_;
};

class Win32RegistryReader : public RegistryReader {
public:
  std::optional<std::string> ReadText(RegistryRoot root, std::string_view subkey,
                                      std::string_view name) const override;
  std::optional<std::uint32_t> ReadNumber(RegistryRoot root, std::string_view subkey,
                                          std::string_view name) const override;
};

}  // namespace orv
