#include "platform/accessible_text.hpp"

namespace orv {

std::string WithoutMnemonic(std::string_view label) {
  std::string out;
  out.reserve(label.size());
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] != '&') {
      out += label[i];
    } else if (i + 1 < label.size() && label[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

std::string ItemPositionText(std::int64_t position, std::int64_t count) {
  if (position < 1 || position > count) return {};
  return std::to_string(count) + " 項目中 " + std::to_string(position) + " 番目";
}

}  // namespace orv
