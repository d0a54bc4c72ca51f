#include "platform/registry_reader.hpp"

namespace orv {
namespace {

// UTF-16 units of UTF-8 text: characters beyond the basic plane take two.
std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
}

constexpr std::size_t kTextBufferUnits = 256;

}  // namespace

RegistryValue ReadRegistryValue(const RegistryReader& reader, RegistryRoot root,
                                std::string_view subkey, std::string_view name, int kind,
                                const RegistryValue& default_value) {
  if (kind == kRegistryText) {
    auto text = reader.ReadText(root, subkey, name);
    if (!text || Utf16Length(*text) >= kTextBufferUnits) return default_value;
    // The buffer's content up to its first NUL.
    return text->substr(0, text->find('\0'));
  }
  if (kind == kRegistryNumber) {
    auto number = reader.ReadNumber(root, subkey, name);
    if (!number) return default_value;
    return static_cast<std::int32_t>(*number);
  }
  return default_value;
}

}  // namespace orv
