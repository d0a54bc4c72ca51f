#pragma once
// The user's folders the system names.
#include <string>

namespace orv {

// The local application data folder of the user (UTF-8); empty when the system gives none.
std::string LocalAppDataFolder();

}  // namespace orv
