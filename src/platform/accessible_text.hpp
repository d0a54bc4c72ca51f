#pragma once
// Texts as a screen reader says them, shared by every window that describes itself to one.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// A label's text without its mnemonic markers: "支払いの名称(&N):" reads "支払いの名称(N):";
// "&&" is a literal "&".
std::string WithoutMnemonic(std::string_view label);

// Where an item stands among its siblings, "12 項目中 3 番目"; empty when `position` is not
// one of 1..count.
std::string ItemPositionText(std::int64_t position, std::int64_t count);

}  // namespace orv
