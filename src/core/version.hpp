#pragma once
// The program's title and version, as the dialogs and messages show them. The numbers are the
// project's version (CMakeLists.txt), which the version resources and the installer carry too.
#include <string_view>

#include "orv_version.h"

namespace orv {

inline constexpr std::string_view kProgramTitle = "Orvanta";
inline constexpr int kVersionMajor = ORV_VERSION_MAJOR;
inline constexpr int kVersionMinor = ORV_VERSION_MINOR;
inline constexpr int kVersionRevision = ORV_VERSION_PATCH;

}  // namespace orv
