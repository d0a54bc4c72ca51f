#pragma once
// Reading single values of the system registry (the desktop's wallpaper settings), and
// ReadRegistryValue, which turns a failed read into the caller's default.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <variant>

namespace orv {

enum class RegistryRoot { CurrentUser, LocalMachine };

class RegistryReader {
public:
  virtual ~RegistryReader() = default;
  // A text value (expanded when it holds environment references), whole; nullopt when the
  // key or value is missing or not text.
  virtual std::optional<std::string> ReadText(RegistryRoot root, std::string_view subkey,
                                              std::string_view name) const = 0;
  // A 32-bit number value; nullopt when missing or not a number.
  virtual std::optional<std::uint32_t> ReadNumber(RegistryRoot root, std::string_view subkey,
                                                  std::string_view name) const = 0;
};

// The kinds ReadRegistryValue knows.
inline constexpr int kRegistryText = 1;
inline constexpr int kRegistryNumber = 4;

using RegistryValue = std::variant<std::string, std::int32_t>;

// The stored value, or `default_value` when the read fails. Text is read into a buffer of
// 256 characters: a text of 256 UTF-16 units or more does not fit with its terminator, so it
// fails too. A number comes back as a Long. Any other kind gives the default.
RegistryValue ReadRegistryValue(const RegistryReader& reader, RegistryRoot root,
                                std::string_view subkey, std::string_view name, int kind,
                                const RegistryValue& default_value);

// A registry of fixed values for tests.
class MemoryRegistryReader : public RegistryReader {
public:
  std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> texts;
  std::map<std::tuple<RegistryRoot, std::string, std::string>, std::uint32_t> numbers;

  std::optional<std::string> ReadText(RegistryRoot root, std::string_view subkey,
                                      std::string_view name) const override {
    auto it = texts.find({root, std::string(subkey), std::string(name)});
    if (it == texts.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::uint32_t> ReadNumber(RegistryRoot root, std::string_view subkey,
                                          std::string_view name) const override {
    auto it = numbers.find({root, std::string(subkey), std::string(name)});
    if (it == numbers.end()) return std::nullopt;
    return it->second;
  }
};

}  // namespace orv
