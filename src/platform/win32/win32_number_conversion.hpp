#pragma once
// Typed numbers by the user's regional settings, as the system's variant conversion reads
// them: digit grouping, the currency symbol, signs and blanks; fractions round half to even.
#include "platform/number_conversion.hpp"

namespace orv {

class Win32NumberConversion : public NumberConversion {
public:
  std::optional<std::int32_t> ToLong(std::string_view text) override;
};

}  // namespace orv
