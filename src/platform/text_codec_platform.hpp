#pragma once
// The platform half of the code page 932 codec: one implementation per build.
#include "platform/text_codec.hpp"

namespace orv {

std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8);
std::optional<std::string> PlatformCp932ToUtf8(std::string_view cp932);

}  // namespace orv
