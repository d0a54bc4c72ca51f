#pragma once
// NumberConversion without regional settings: the platform's plain numeric rules (blanks,
// sign, decimal digits, a fraction rounded half to even), limited to 32 bits.
#include <limits>

#include "core/safe.hpp"
#include "platform/number_conversion.hpp"

namespace orv::test {

class PlainNumberConversion : public NumberConversion {
public:
  std::optional<std::int32_t> ToLong(std::string_view text) override {
    const auto value = ParseWholeNumber(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
      return std::nullopt;
    return static_cast<std::int32_t>(*value);
  }
};

}  // namespace orv::test
