#pragma once
// Copies that sync clients leave beside a data file when two computers changed it at once:
//   Dropbox   "NAME (COMPUTER's conflicted copy 2026-12-08).ORV" (also without the computer,
//             with a time, or with a number), in Japanese "NAME (COMPUTER の競合コピー 2026-12-08).ORV";
//   OneDrive  "NAME-COMPUTERNAME.ORV", "NAME-COMPUTERNAME-2.ORV".
// A pure function of the data file's name and the folder's listing; the program merges a
// copy the user accepts without a base (UnionSchedules).
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The names in `folder_files` (file names, no folders) that are conflict copies of the data
// file `data_file_name` (its name, no folder), in the listing's order. The data file itself is
// never one. OneDrive's suffix must be `computer_name` (this computer, letter case ignored) or
// look like a computer name: 1 to 15 characters of upper-case letters, digits and hyphens with
// at least one letter; "NAME-2025.ORV" or "NAME-old.ORV" are the user's own files.
std::vector<std::string> FindConflictCopies(std::string_view data_file_name,
                                            const std::vector<std::string>& folder_files,
                                            std::string_view computer_name = {});

// The file in `folder_files` that holds what the conflict copy `copy_name` (one of
// FindConflictCopies) keeps beside itself under `extension` (a companion named "<file><extension>"),
// or empty when there is none. The copy's own companion ("NAME (… conflicted copy …).ORV<ext>")
// comes first; otherwise the sync client's copy of the data file's companion that carries the
// same conflict mark, since the client copies each file on its own: Dropbox
// "NAME.ORV (… conflicted copy …)<ext>", OneDrive "NAME.ORV-COMPUTERNAME<ext>".
std::string ConflictCopyCompanion(std::string_view data_file_name, std::string_view copy_name,
                                  std::string_view extension, const std::vector<std::string>& folder_files);

}  // namespace orv
