#include "schedule/recovery_file.hpp"

#include <cstdio>
#include <optional>

#include "core/safe.hpp"
#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"

namespace orv {
namespace {

constexpr const char* kWrite = "sfWriteRecoveryFile";
constexpr std::string_view kExtension = ".ORV";
constexpr int kMostAttempts = 1000;

// The file name of a path without its folder and extension (either separator).
std::string_view Stem(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

bool IsRecoveryFileName(std::string_view name) {
  if (name.size() <= kExtension.size()) return false;
  return FoldKey(name.substr(name.size() - kExtension.size())) == FoldKey(kExtension);
}

}  // namespace

std::string RecoveryFileName(std::string_view data_path, const LocalTime& at, int attempt) {
  std::string_view stem = Stem(data_path);
  if (stem.empty()) stem = "Orvanta";
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", at.Year, at.Month, at.Day, at.Hour,
                at.Minute, at.Second);
  std::string name = std::string(stem) + stamp;
  if (attempt > 1) name += "-" + std::to_string(attempt);
  return name + std::string(kExtension);
}

RecoveryWrite sfWriteRecoveryFile(const std::string& folder, std::string_view data_path, const LocalTime& at,
                                  const YearDatas& years, const DefaultUserListArray& lists) {
  std::string bytes;
  if (std::string error = SerializeUserData(years, lists, bytes); !error.empty()) return {{}, error};
  if (SystemError error = CreateFolders(folder)) return {{}, sfSemCreate(kWrite, error.number, error.description)};
  SystemError error;
  for (int attempt = 1; attempt <= kMostAttempts; ++attempt) {
    const std::string path = FileInFolder(folder, RecoveryFileName(data_path, at, attempt));
    error = WriteNewFile(path, bytes);
    if (!error) return {path, {}};
    if (!AlreadyExists(error)) break;  // only a name in use is worth another try
  }
  return {{}, sfSemCreate(kWrite, error.number, error.description)};
}

bool ScheduleAlreadyStored(const std::string& data_path, const YearDatas& years, const DefaultUserListArray& lists) {
  std::string image, empty_image, stored;
  if (!SerializeUserData(years, lists, image).empty()) return false;
  if (!ReadWholeFile(data_path, stored)) return stored == image;
  if (FileExists(data_path)) return false;  // there, but unreadable: its content is unknown
  return SerializeUserData({}, {}, empty_image).empty() && image == empty_image;
}

std::string NewerRecoveryFile(const std::string& folder, const std::string& data_path) {
  const std::optional<std::int64_t> data_time = LastWriteTime(data_path);
  std::string newest;
  std::int64_t newest_time = 0;
  for (const std::string& name : FilesIn(folder)) {
    if (!IsRecoveryFileName(name)) continue;
    const std::string path = FileInFolder(folder, name);
    const std::optional<std::int64_t> time = LastWriteTime(path);
    if (!time || (data_time && *time <= *data_time)) continue;
    if (newest.empty() || *time > newest_time) {
      newest = path;
      newest_time = *time;
    }
  }
  return newest;
}

}  // namespace orv
