#include "schedule/file_identity.hpp"

#include <cerrno>

#include "schedule/user_data_file.hpp"

namespace orv {

std::uint64_t ContentHash(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

FileIdentity IdentityOf(std::string_view bytes, std::int64_t write_time) {
  return {true, static_cast<std::int64_t>(bytes.size()), write_time, ContentHash(bytes)};
}

FileComparison CompareFileIdentity(const FileIdentity& known, const FileIdentity& now) {
  if (!known.Exists) return now.Exists ? FileComparison::kCreated : FileComparison::kSame;
  if (!now.Exists) return FileComparison::kDeleted;
  return known.Size == now.Size && known.Hash == now.Hash ? FileComparison::kSame : FileComparison::kChanged;
}

DataFileCheck CheckDataFile(const std::string& path, const FileIdentity& known, int attempt) {
  DataFileCheck check;
  auto cannot_read = [&check, attempt](std::string why) {
    check.State = attempt >= kChangeRetryAttempts ? DataFileState::kUnreadable : DataFileState::kRetryLater;
    check.Error = std::move(why);
    return std::move(check);
  };
  if (!FileExists(path)) {
    check.State = known.Exists ? DataFileState::kMissing : DataFileState::kUnchanged;
    return check;
  }
  // The time first: a writer that finishes after it is seen again by the next look.
  const std::int64_t time = LastWriteTime(path).value_or(0);
  std::string bytes;
  if (SystemError error = ReadWholeFile(path, bytes)) {
    if (!FileExists(path)) {  // removed while we looked
      check.State = known.Exists ? DataFileState::kMissing : DataFileState::kUnchanged;
      return check;
    }
    return cannot_read(error.description);
  }
  check.Identity = IdentityOf(bytes, time);
  if (CompareFileIdentity(known, check.Identity) == FileComparison::kSame) {
    check.State = DataFileState::kUnchanged;
    return check;
  }
  // A file that does not load is taken for one being written (or damaged): never for an
  // empty schedule.
  if (std::string error = ParseUserData(bytes, check.Years, check.Lists); !error.empty())
    return cannot_read(error);
  check.State = DataFileState::kChanged;
  return check;
}

int ChangeRetryDelayMs(int attempt) {
  if (attempt < 0) attempt = 0;
  return attempt < 4 ? 100 << attempt : 1000;
}

std::vector<int> SaveRetryDelaysMs() { return {50, 100, 200, 400, 800, 1000, 1000}; }

bool IsTransientFileError(const SystemError& error) {
#ifdef _WIN32
  // ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_DELETE_PENDING,
  // ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_USER_MAPPED_FILE
  // (numbers, so that the model needs no system header).
  switch (error.number) {
    case 5: case 32: case 33: case 303: case 1175: case 1176: case 1224:
      return true;
    default:
      return false;
  }
#else
  return error.number == EACCES || error.number == EBUSY || error.number == ETXTBSY || error.number == EAGAIN;
#endif
}

SystemError RetryTransient(const std::function<SystemError()>& attempt, const std::function<void(int)>& wait,
                           const std::vector<int>& delays_ms) {
  SystemError result = attempt();
  for (int delay : delays_ms) {
    if (!result || !IsTransientFileError(result)) break;
    wait(delay);
    result = attempt();
  }
  return result;
}

}  // namespace orv
