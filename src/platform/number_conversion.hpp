#pragma once
// Text to number by the user's regional settings (digit grouping, currency symbol, sign),
// as the platform converts typed numbers. The Win32 adapter asks the system; native tests use
// the plain decimal conversion of tests/support.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

class NumberConversion {
public:
  virtual ~NumberConversion() = default;
  // The value as a Long, or nullopt when the text is not a number or does not fit 32 bits.
  // Plain decimal integers with an optional sign and surrounding blanks are always accepted.
  virtual std::optional<std::int32_t> ToLong(std::string_view text) = 0;
};

}  // namespace orv
