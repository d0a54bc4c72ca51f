#include "schedule/recovery_file.hpp"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/safe.hpp"
#include "platform/file_system.hpp"
#include "schedule/file_identity.hpp"
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
  // A journal is the unsaved state of a running or crashed session, not a failed save.
  constexpr std::string_view kJournalEnd = ".unsaved.orv";
  if (name.size() >= kJournalEnd.size() && FoldKey(name.substr(name.size() - kJournalEnd.size())) == kJournalEnd)
    return false;
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

namespace orv {
namespace {

constexpr const char* kJournal = "sfWriteJournal";
constexpr std::string_view kJournalSuffix = ".unsaved.ORV";

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsFailedSaveName(std::string_view name, std::string_view stem) {
  // "<stem>-YYYYMMDD-HHMMSS[-N].ORV"
  if (name.size() < stem.size() + 16 + kExtension.size()) return false;
  if (FoldKey(name.substr(0, stem.size())) != FoldKey(stem)) return false;
  if (FoldKey(name.substr(name.size() - kExtension.size())) != FoldKey(kExtension)) return false;
  std::string_view rest = name.substr(stem.size(), name.size() - stem.size() - kExtension.size());
  if (rest.size() < 16 || rest[0] != '-' || rest[9] != '-' || !AllDigits(rest.substr(1, 8)) ||
      !AllDigits(rest.substr(10, 6)))
    return false;
  rest.remove_prefix(16);
  return rest.empty() || (rest[0] == '-' && AllDigits(rest.substr(1)));
}

std::string_view StemOrDefault(std::string_view data_path) {
  std::string_view stem = Stem(data_path);
  return stem.empty() ? std::string_view("Orvanta") : stem;
}

}  // namespace

std::string DataPathTag(std::string_view data_path) {
  std::string folded = FoldKey(data_path);
  for (char& c : folded)
    if (c == '/') c = '\\';
  char tag[16];
  std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(ContentHash(folded) & 0xFFFFFFFFu));
  return tag;
}

std::string JournalFileName(std::string_view data_path) {
  return std::string(StemOrDefault(data_path)) + "-" + DataPathTag(data_path) + std::string(kJournalSuffix);
}

std::string sfWriteJournal(const std::string& folder, std::string_view data_path, const YearDatas& years,
                           const DefaultUserListArray& lists) {
  std::string bytes;
  if (std::string error = SerializeUserData(years, lists, bytes); !error.empty()) return error;
  if (SystemError error = CreateFolders(folder)) return sfSemCreate(kJournal, error.number, error.description);
  if (SystemError error = ReplaceFileContents(FileInFolder(folder, JournalFileName(data_path)), bytes))
    return sfSemCreate(kJournal, error.number, error.description);
  return {};
}

void RemoveJournal(const std::string& folder, std::string_view data_path) {
  RemoveFile(FileInFolder(folder, JournalFileName(data_path)));
}

std::optional<RecoveryKind> RecoveryFileKind(std::string_view file_name, std::string_view data_path) {
  if (FoldKey(file_name) == FoldKey(JournalFileName(data_path))) return RecoveryKind::kJournal;
  if (IsFailedSaveName(file_name, StemOrDefault(data_path))) return RecoveryKind::kFailedSave;
  return std::nullopt;
}

std::vector<PendingRecovery> PendingRecoveryFiles(const std::string& folder, std::string_view data_path) {
  std::vector<PendingRecovery> pending;
  for (const std::string& name : FilesIn(folder)) {
    const auto kind = RecoveryFileKind(name, data_path);
    if (!kind) continue;
    const std::string path = FileInFolder(folder, name);
    pending.push_back({path, *kind, LastWriteTime(path).value_or(0)});
  }
  std::stable_sort(pending.begin(), pending.end(),
                   [](const PendingRecovery& a, const PendingRecovery& b) { return a.WriteTime < b.WriteTime; });
  return pending;
}

std::string sfDiscardRecoveryFile(const std::string& path) {
  if (SystemError error = RemoveFile(path)) return sfSemCreate("sfDiscardRecoveryFile", error.number, error.description);
  return {};
}

}  // namespace orv
