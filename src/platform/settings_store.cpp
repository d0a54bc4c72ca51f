#include "platform/settings_store.hpp"

#include "core/keyed_collection.hpp"

namespace orv {

MemorySettingsStore::Name MemorySettingsStore::Fold(std::string_view application,
                                                    std::string_view section,
                                                    std::string_view key) {
  return {FoldKey(application), FoldKey(section), FoldKey(key)};
}

std::string MemorySettingsStore::Get(std::string_view application, std::string_view section,
                                     std::string_view key, std::string_view default_value) const {
  auto it = values_.find(Fold(application, section, key));
  return it == values_.end() ? std::string(default_value) : it->second;
}

void MemorySettingsStore::Set(std::string_view application, std::string_view section,
                              std::string_view key, std::string_view value) {
  values_[Fold(application, section, key)] = std::string(value);
  log_ += std::string(section) + "/" + std::string(key) + "=" + std::string(value) + "\n";
}

bool MemorySettingsStore::Contains(std::string_view application, std::string_view section,
                                   std::string_view key) const {
  return values_.contains(Fold(application, section, key));
}

}  // namespace orv
