#pragma once
// A date as "YYYY-MM-DD", the way the tests write expected dates.
#include <cstdio>
#include <string>

#include "core/dates.hpp"

namespace orv::test {

inline std::string Iso(Date date) {
  const DateParts p = SplitDate(date);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  return text;
}

}  // namespace orv::test
