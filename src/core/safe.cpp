#include "core/safe.hpp"

#include <cctype>
#include <limits>

namespace orv {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string SafeText(Value value) {
  if (!value) return {};
  return std::string(Trim(*value));
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
  std::string_view s = Trim(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::string_view whole = s.substr(0, s.find('.'));
  std::string_view fraction = whole.size() < s.size() ? s.substr(whole.size() + 1) : "";
  if (whole.empty() && fraction.empty()) return std::nullopt;
  for (char c : whole)
    if (!IsDigit(c)) return std::nullopt;
  for (char c : fraction)
    if (!IsDigit(c)) return std::nullopt;

  // Exact decimal arithmetic: magnitude up to 2^63, so rounding never loses the answer.
  constexpr std::uint64_t limit = std::uint64_t{1} << 63;
  std::uint64_t magnitude = 0;
  for (char c : whole) {
    std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
    if (magnitude > (limit - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  // Half to even: compare the fraction with one half.
  if (!fraction.empty()) {
    int order = 0;  // <0 below half, 0 exactly half, >0 above half
    if (fraction[0] > '5') {
      order = 1;
    } else if (fraction[0] < '5') {
      order = -1;
    } else {
      for (char c : fraction.substr(1))
        if (c != '0') order = 1;
    }
    if (order > 0 || (order == 0 && magnitude % 2 == 1)) {
      if (magnitude == limit) return std::nullopt;
      ++magnitude;
    }
  }
  if (negative) {
    return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                              : -static_cast<std::int64_t>(magnitude);
  }
  if (magnitude == limit) return std::nullopt;
  return static_cast<std::int64_t>(magnitude);
}

std::int32_t SafeLong(Value value) {
  if (!value) return 0;
  auto n = ParseWholeNumber(*value);
  if (!n || *n < std::numeric_limits<std::int32_t>::min() ||
      *n > std::numeric_limits<std::int32_t>::max())
    return 0;
  return static_cast<std::int32_t>(*n);
}

std::int32_t SafeInteger(Value value) {
  if (!value) return 0;
  auto n = ParseWholeNumber(*value);
  if (!n || *n < std::numeric_limits<std::int16_t>::min() ||
      *n > std::numeric_limits<std::int16_t>::max())
    return 0;
  return static_cast<std::int32_t>(*n);
}

bool ParseBoolean(Value value) {
  if (!value) return false;
  std::string_view s = Trim(*value);
  auto equals_folded = [s](std::string_view word) {
    if (s.size() != word.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(s[i])) != word[i]) return false;
    return true;
  };
  if (equals_folded("true")) return true;
  if (equals_folded("false")) return false;
  // Any numeric text: non-zero is True. Checked on the digits, not a rounded value, so
  // "0.4" is True and a number too large for 64 bits still counts.
  std::string_view digits = s;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  bool numeric = false, non_zero = false;
  bool seen_dot = false;
  for (char c : digits) {
    if (c == '.' && !seen_dot) {
      seen_dot = true;
      continue;
    }
    if (!IsDigit(c)) return false;
    numeric = true;
    if (c != '0') non_zero = true;
  }
  return numeric && non_zero;
}

std::string sfSemCreate(Value routine, std::int64_t number, Value description, Value earlier) {
  std::string text = SafeText(earlier);
  text += SafeText(routine);
  text += '\t';
  text += std::to_string(number);
  text += '\t';
  text += SafeText(description);
  text += '\n';
  return text;
}

}  // namespace orv
