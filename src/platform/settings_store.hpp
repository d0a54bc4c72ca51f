#pragma once
// The per-user settings store: application -> section -> key -> text. Values are always
// text (numbers in decimal, Booleans as "True"/"False"). Reading never fails: a missing
// value gives the default. Writing failures are not reported; the settings simply stay as
// they were. The Windows adapter keeps them in the registry; tests use MemorySettingsStore.
#include <map>
#include <string>
#include <string_view>
#include <tuple>

namespace orv {

class SettingsStore {
public:
  virtual ~SettingsStore() = default;
  virtual std::string Get(std::string_view application, std::string_view section,
                          std::string_view key, std::string_view default_value) const = 0;
  virtual void Set(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) = 0;
};

// In memory; names compare without regard to ASCII letter case, as in the registry.
class MemorySettingsStore : public SettingsStore {
public:
  std::string Get(std::string_view application, std::string_view section, std::string_view key,
                  std::string_view default_value) const override;
  void Set(std::string_view application, std::string_view section, std::string_view key,
           std::string_view value) override;

  bool Contains(std::string_view application, std::string_view section,
                std::string_view key) const;
  // Every Set in call order, as "section/key=value", for tests of write order.
  const std::string& Log() const { return log_; }

private:
  using Name = std::tuple<std::string, std::string, std::string>;
  static Name Fold(std::string_view application, std::string_view section, std::string_view key);
  std::map<Name, std::string> values_;
  std::string log_;
};

}  // namespace orv
