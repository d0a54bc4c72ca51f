#pragma once
// The program's title and version, as the dialogs and messages show them.
#include <string_view>

namespace orv {

inline constexpr std::string_view kProgramTitle = "Orvanta";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

}  // namespace orv
