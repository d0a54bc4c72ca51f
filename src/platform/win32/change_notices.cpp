#include "platform/win32/change_notices.hpp"

#include <dbt.h>

#include <algorithm>
#include <cstdio>

#include "platform/windows_path.hpp"
#include "platform/win32/wide.hpp"

namespace orv {

void HandleWaits::Add(HANDLE handle, std::function<void()> signalled) {
  if (!handle) return;
  Remove(handle);
  entries_.push_back({handle, std::move(signalled)});
}

void HandleWaits::Remove(HANDLE handle) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.handle == handle; }),
                 entries_.end());
}

void HandleWaits::WaitForMessageOrHandle() {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS - 1] = {};
  const DWORD count = static_cast<DWORD>(std::min<std::size_t>(entries_.size(), std::size(handles)));
  for (DWORD i = 0; i < count; ++i) handles[i] = entries_[i].handle;
  // MWMO_INPUTAVAILABLE: a message already queued but not yet taken also ends the wait.
  const DWORD result = MsgWaitForMultipleObjectsEx(count, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result >= WAIT_OBJECT_0 + count) return;  // a message (or a failed wait: the loop goes on)
  ++wakeups_;
  // A copy: the action may add or remove handles, its own among them.
  const std::function<void()> signalled = entries_[result - WAIT_OBJECT_0].signalled;
  signalled();
}

bool KeyChangeNotice::Watch(HKEY root, const wchar_t* path) {
  key_.reset();
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS) return false;
  key_.reset(key);
  if (!event_) event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  return Rearm();
}

bool KeyChangeNotice::Rearm() {
  if (!key_ || !event_) return false;
  ResetEvent(event_.get());
  constexpr DWORD kWhat = REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME;
  // Thread-agnostic where the system knows it (Windows 8 on): the request outlives the thread
  // that made it. Older systems refuse the flag; the user-interface thread lives as long as
  // the program, so the plain request serves as well there.
  constexpr DWORD kThreadAgnostic = 0x10000000L;  // REG_NOTIFY_THREAD_AGNOSTIC
  if (RegNotifyChangeKeyValue(key_.get(), FALSE, kWhat | kThreadAgnostic, event_.get(), TRUE) == ERROR_SUCCESS ||
      RegNotifyChangeKeyValue(key_.get(), FALSE, kWhat, event_.get(), TRUE) == ERROR_SUCCESS)
    return true;
  key_.reset();  // no request stands
  return false;
}

namespace {
constexpr DWORD kFolderChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
}  // namespace

bool FolderChangeNotice::Watch(const std::string& folder, const std::string& poll_file,
                               std::chrono::milliseconds poll_period) {
  folder_ = folder;
  poll_file_ = poll_file;
  poll_period_ = poll_period;
  poll_.reset();
  polled_.reset();
  removal_.reset();
  folder_handle_.reset();
  notice_.reset();
  let_go_ = false;
  let_go_handle_ = nullptr;
  if (folder_.empty()) return false;
  if (WatchNearest()) return true;
  // Nothing can be watched: the slow look on a worker stands in.
  polled_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!polled_) return false;
  HANDLE event = polled_.get();  // outlives the poll: the poll never calls after it is gone
  std::string file = poll_file_.empty() ? folder_ : poll_file_;
  poll_ = std::make_unique<SlowPoll>(poll_period_, [file] { return FileWriteTimeText(file); },
                                     [event] { SetEvent(event); });
  return true;
}

bool FolderChangeNotice::WatchNearest() {
  // The folder itself, else the nearest one above it that exists, watched for new folders.
  std::string folder = folder_;
  DWORD changes = kFolderChanges;
  while (!folder.empty()) {
    HANDLE h = FindFirstChangeNotificationW(Utf8ToWide(folder).c_str(), FALSE, changes);
    if (h != INVALID_HANDLE_VALUE) {
      notice_.reset(h);
      watched_ = folder;
      HoldForRemoval();
      return true;
    }
    if (!IsMissing(GetLastError())) return false;  // there, but it cannot be watched
    folder = ParentFolder(folder);
    changes = FILE_NOTIFY_CHANGE_DIR_NAME;
  }
  return false;
}

void FolderChangeNotice::HoldForRemoval() {
  removal_.reset();
  folder_handle_.reset();
  if (!removal_window_) return;
  // A handle of our own on the folder names it in the request; shared every way, so it keeps
  // nobody else from anything.
  folder_handle_.reset(CreateFileW(Utf8ToWide(watched_).c_str(), FILE_LIST_DIRECTORY,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder_handle_) return;
  DEV_BROADCAST_HANDLE filter{};
  filter.dbch_size = sizeof filter;
  filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
  filter.dbch_handle = folder_handle_.get();
  // Refused for a share (it has no device): nothing to let go of for its sake then.
  removal_.reset(RegisterDeviceNotificationW(removal_window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
  if (!removal_) folder_handle_.reset();
}

void FolderChangeNotice::LetGoOfFolder() {
  let_go_handle_ = folder_handle_.get();
  let_go_ = true;
  // The request goes before the handle it names; then nothing of ours stays open on the drive.
  removal_.reset();
  folder_handle_.reset();
  notice_.reset();
  poll_.reset();
  polled_.reset();
}

bool FolderChangeNotice::OnDeviceChange(WPARAM event, LPARAM data) {
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (!header) return false;
  const auto named_handle = [&] {
    return header->dbch_devicetype == DBT_DEVTYP_HANDLE
               ? reinterpret_cast<const DEV_BROADCAST_HANDLE*>(header)->dbch_handle
               : nullptr;
  };
  switch (event) {
    case DBT_DEVICEQUERYREMOVE:
    case DBT_DEVICEREMOVEPENDING:
    case DBT_DEVICEREMOVECOMPLETE:
      if (let_go_ || !folder_handle_ || named_handle() != folder_handle_.get()) return false;
      LetGoOfFolder();
      return true;
    case DBT_DEVICEQUERYREMOVEFAILED:  // another program kept the drive: it stays
      if (!let_go_ || named_handle() != let_go_handle_) return false;
      break;
    case DBT_DEVICEARRIVAL:
      if (!let_go_ || header->dbch_devicetype != DBT_DEVTYP_VOLUME ||
          !OnDriveOf(folder_, reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header)->dbcv_unitmask))
        return false;
      break;
    default: return false;
  }
  Watch(folder_, poll_file_, poll_period_);
  return true;
}

HANDLE FolderChangeNotice::Handle() const {
  if (notice_) return notice_.get();
  return polled_.get();
}

void FolderChangeNotice::Rearm() {
  if (let_go_) return;
  if (polled_) {
    ResetEvent(polled_.get());
    return;
  }
  if (!notice_) return;
  // Watching a folder above the one asked for: the one asked for may stand now.
  if (watched_ != folder_ || !FindNextChangeNotification(notice_.get())) {
    notice_.reset();
    if (!WatchNearest()) Watch(folder_, poll_file_, poll_period_);
  }
}

std::optional<std::string> FileWriteTimeText(const std::string& path) {
  if (path.empty()) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FILETIME local{};
  SYSTEMTIME t{};
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t))
    return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%04u/%02u/%02u %u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return std::string(text);
}

}  // namespace orv
