#include "schedule/conflict_copies.hpp"

#include "core/keyed_collection.hpp"

namespace orv {
namespace {

struct NameParts {
  std::string_view stem, extension;  // extension with its dot, or empty
};
NameParts Split(std::string_view name) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// What a sync client puts after "NAME (" and before ")": its words for a conflict.
bool IsDropboxConflictNote(std::string_view inner) {
  const std::string folded = FoldKey(inner);
  return folded.find("conflicted copy") != std::string::npos || folded.find("競合コピー") != std::string::npos;
}

bool LooksLikeComputerName(std::string_view s) {
  if (s.empty() || s.size() > 15) return false;
  bool letter = false;
  for (char c : s) {
    if (c >= 'A' && c <= 'Z') letter = true;
    else if (!(c >= '0' && c <= '9') && c != '-') return false;
  }
  return letter && s.front() != '-' && s.back() != '-';
}

bool IsOneDriveSuffix(std::string_view suffix, std::string_view computer_name) {
  auto matches = [computer_name](std::string_view s) {
    return (!computer_name.empty() && FoldKey(s) == FoldKey(computer_name)) || LooksLikeComputerName(s);
  };
  if (matches(suffix)) return true;
  // A second conflict of the same computer: "-NAME-2".
  const auto dash = suffix.find_last_of('-');
  return dash != std::string_view::npos && AllDigits(suffix.substr(dash + 1)) && matches(suffix.substr(0, dash));
}

}  // namespace

std::vector<std::string> FindConflictCopies(std::string_view data_file_name, const std::vector<std::string>& folder_files,
                                            std::string_view computer_name) {
  const NameParts data = Split(data_file_name);
  const std::string stem = FoldKey(data.stem), extension = FoldKey(data.extension);
  std::vector<std::string> copies;
  for (const std::string& name : folder_files) {
    const NameParts file = Split(name);
    if (FoldKey(file.extension) != extension || file.stem.size() <= data.stem.size() + 1) continue;
    if (FoldKey(file.stem.substr(0, data.stem.size())) != stem) continue;
    const std::string_view rest = file.stem.substr(data.stem.size());
    const bool dropbox = rest.size() > 3 && rest.substr(0, 2) == " (" && rest.back() == ')' &&
                         IsDropboxConflictNote(rest.substr(2, rest.size() - 3));
    const bool onedrive = rest[0] == '-' && IsOneDriveSuffix(rest.substr(1), computer_name);
    if (dropbox || onedrive) copies.push_back(name);
  }
  return copies;
}

std::string ConflictCopyCompanion(std::string_view data_file_name, std::string_view copy_name,
                                  std::string_view extension, const std::vector<std::string>& folder_files) {
  const NameParts data = Split(data_file_name), copy = Split(copy_name);
  if (copy.stem.size() <= data.stem.size() || FoldKey(copy.stem.substr(0, data.stem.size())) != FoldKey(data.stem))
    return {};
  const std::string_view mark = copy.stem.substr(data.stem.size());  // " (… conflicted copy …)" or "-NAME"
  const std::string own = FoldKey(std::string(copy_name) + std::string(extension));
  const std::string clients = FoldKey(std::string(data_file_name) + std::string(mark) + std::string(extension));
  const std::string* found = nullptr;
  for (const std::string& name : folder_files) {
    const std::string folded = FoldKey(name);
    if (folded == own) return name;
    if (folded == clients && !found) found = &name;
  }
  return found ? *found : std::string();
}

}  // namespace orv
