#pragma once
// Folder names in a Windows path ("C:\a\b", "\\server\share\a"), as text: the program
// stores and watches Windows paths, and the rules are tested on any system.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// The folder holding `path` ("C:\a\b.bmp" → "C:\a", "C:\b.bmp" → "C:\", a share's
// "\\srv\share\b.bmp" → "\\srv\share"); empty for a name without a folder.
std::string FolderOf(std::string_view path);
// The folder above `folder`; empty at a drive's or a share's root.
std::string ParentFolder(std::string_view folder);
// The root of a path on a drive letter ("C:\a\b.bmp" → "C:\"); empty for a share, a
// relative path or anything else whose drive cannot be asked about.
std::string DriveRoot(std::string_view path);
// Whether `path` lies on one of the drive letters of `unit_mask` (bit 0 "A:", bit 1 "B:", …,
// as the system names the drives of a volume that arrived or left).
bool OnDriveOf(std::string_view path, std::uint32_t unit_mask);

}  // namespace orv
