#pragma once
// Conversions that never fail: loosely typed values (settings, INI values) become text,
// Long, Integer or Boolean with a fixed fallback; and the program's error texts.
//
// A "null" value is std::nullopt: no value was there at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

using Value = std::optional<std::string_view>;

// Text with leading and trailing spaces removed; empty for a null value.
std::string SafeText(Value value);

// The platform's numeric test: surrounding spaces, an optional sign, decimal digits with an
// optional fraction. The value, with fractions rounded half to even, or nullopt when the text
// is not numeric or does not fit 64 bits.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

// Numeric values that fit a Long (32 bits); 0 for anything else.
std::int32_t SafeLong(Value value);
// Numeric values that fit an Integer (16 bits), widened to a Long; 0 for anything else.
std::int32_t SafeInteger(Value value);
// "True"/"False" in any letter case, or a number (non-zero is True); False otherwise.
bool ParseBoolean(Value value);

// The error text format shared by every routine that reports failure by returning text:
// earlier + routine + TAB + number + TAB + description + LF. Empty text means success.
std::string sfSemCreate(Value routine, std::int64_t number, Value description,
                        Value earlier = std::string_view());

}  // namespace orv
