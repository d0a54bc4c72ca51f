#include "platform/windows_path.hpp"

#include <algorithm>

namespace orv {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the root of a path ends: after "C:\" or "\\server\share"; 0 when it has none.
std::size_t RootLength(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t at = 2, parts = 0;
    while (at < path.size() && parts < 2) {
      const std::size_t next = std::min(path.find_first_of("\\/", at), path.size());
      if (next > at) ++parts;
      at = parts < 2 ? next + 1 : next;
    }
    return std::min(at, path.size());
  }
  return IsSeparator(path.empty() ? 'x' : path[0]) ? 1 : 0;
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const std::size_t root = RootLength(path);
  std::size_t end = path.size();
  while (end > root && !IsSeparator(path[end - 1])) --end;
  if (end <= root) return std::string(path.substr(0, root));
  // Drop the separator, unless it ends a drive's root ("C:\").
  return std::string(path.substr(0, std::max(end - 1, root)));
}

std::string ParentFolder(std::string_view folder) {
  const std::size_t root = RootLength(folder);
  while (folder.size() > root && IsSeparator(folder.back())) folder.remove_suffix(1);
  if (folder.size() <= root) return {};
  return FolderOf(folder);
}

std::string DriveRoot(std::string_view path) {
  const bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!letter || RootLength(path) != 3) return {};
  return std::string(path.substr(0, 2)) + '\\';
}

bool OnDriveOf(std::string_view path, std::uint32_t unit_mask) {
  const std::string root = DriveRoot(path);
  if (root.empty()) return false;
  const int letter = (root[0] >= 'a' ? root[0] - 'a' : root[0] - 'A');
  return (unit_mask >> letter) & 1u;
}

}  // namespace orv
