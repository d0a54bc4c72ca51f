#pragma once
// Small registry and picture adapters the program runs with until the settings branch's
// full adapters (RegistrySettingsStore, Win32RegistryReader, WicPictureLoader) are merged;
// then this file goes away. Settings live under HKCU\Software\Orvanta\<section>.
#include "platform/picture_loader.hpp"
#include "platform/registry_reader.hpp"
#include "platform/settings_store.hpp"

namespace orv {

class InterimSettingsStore : public SettingsStore {
public:
  std::string Get(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view default_value) const override;
  void Set(std::string_view application, std::string_view section, std::string_view key,
           std::string_view value) override;
};

class InterimRegistryReader : public RegistryReader {
public:
  std::optional<std::string> ReadText(RegistryRoot root, std::string_view subkey,
                                      std::string_view name) const override;
  std::optional<std::uint32_t> ReadNumber(RegistryRoot root, std::string_view subkey,
                                          std::string_view name) const override;
};

// Bitmap files only.
class InterimPictureLoader : public PictureLoader {
public:
  LoadedPicture Load(const std::string& path) override;
};

}  // namespace orv
