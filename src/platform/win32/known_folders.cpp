#include "platform/win32/known_folders.hpp"

#include <windows.h>
#include <shlobj.h>

#include "platform/win32/wide.hpp"

namespace orv {

std::string LocalAppDataFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &path)))
    folder = WideToUtf8(path);
  CoTaskMemFree(path);  // also after a failure, as the call asks
  return folder;
}

}  // namespace orv
