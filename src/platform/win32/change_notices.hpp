#pragma once
// Reports the system makes when something changes, as waitable handles, and the wait of the
// message loop on them: the program sleeps until a message comes or a handle is signalled.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/slow_poll.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

// The handles the message loop waits on besides its messages, each with what to do when it is
// signalled. The action must clear or re-arm its handle, or the loop would not sleep again.
class HandleWaits {
public:
  void Add(HANDLE handle, std::function<void()> signalled);
  void Remove(HANDLE handle);
  // Sleeps until a message is queued for the thread or a handle is signalled; runs the
  // signalled handle's action. Returns when there may be messages to take.
  void WaitForMessageOrHandle();
  // Counts what woke the loop: every message taken goes through here.
  void Taken(const MSG& msg) {
    if (msg.message == WM_TIMER) ++timer_wakeups_;
  }
  // How many times a handle ended the wait, and how many timer messages the loop took (the
  // state report shows them).
  unsigned long Wakeups() const { return wakeups_; }
  unsigned long TimerWakeups() const { return timer_wakeups_; }

private:
  struct Entry {
    HANDLE handle;
    std::function<void()> signalled;
  };
  std::vector<Entry> entries_;
  unsigned long wakeups_ = 0;
  unsigned long timer_wakeups_ = 0;
};

// A change request on a registry key: its event is signalled when a value is written (or a
// subkey's name changes) under the key itself.
class KeyChangeNotice {
public:
  // Opens `path` under `root` and makes the first request; false when either fails.
  bool Watch(HKEY root, const wchar_t* path);
  HANDLE Event() const { return event_.get(); }
  bool Armed() const { return static_cast<bool>(key_); }
  // After a signal: clears the event and makes the request again. Made before the caller
  // reads the values, so a write made while it reads is reported again.
  bool Rearm();

private:
  RegKey key_;
  KernelHandle event_;
};

struct ChangeNotificationTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindCloseChangeNotification(h); }
};
using ChangeNotificationHandle = UniqueHandle<HANDLE, ChangeNotificationTraits>;

struct DeviceNotificationTraits {
  static HDEVNOTIFY invalid() { return nullptr; }
  static void close(HDEVNOTIFY h) { UnregisterDeviceNotification(h); }
};
using DeviceNotification = UniqueHandle<HDEVNOTIFY, DeviceNotificationTraits>;

// A change notification on a folder: files written, added, removed or renamed in it. Where
// the folder does not exist (yet), the nearest folder above it that does is watched until it
// appears. Where no folder can be watched (a share that refuses it), `poll_file`'s time is
// looked at every `poll_period` on a worker thread instead.
//
// A watched folder is held open, so the drive it is on cannot be taken out (a USB stick
// holding the wallpaper): with a window for the system's device reports, the notice lets go
// when the drive is about to be removed and watches again when the removal is called off or
// the drive comes back.
class FolderChangeNotice {
public:
  static constexpr std::chrono::seconds kPollPeriod{45};

  // The window whose WM_DEVICECHANGE reports go to OnDeviceChange; set before Watch.
  void ReportRemovalTo(HWND window) { removal_window_ = window; }
  // One WM_DEVICECHANGE report. True when the notice let go of its folder or watches it again
  // (its Handle() changed: nullptr while let go).
  bool OnDeviceChange(WPARAM event, LPARAM data);
  // Whether the notice let go of its folder for a drive's removal.
  bool LetGo() const { return let_go_; }
  // The folder's handle the removal reports name; nullptr while none are asked for.
  HANDLE RemovalHandle() const { return removal_ ? folder_handle_.get() : nullptr; }

  bool Watch(const std::string& folder, const std::string& poll_file,
             std::chrono::milliseconds poll_period = kPollPeriod);
  // The handle to wait on; nullptr while nothing is watched.
  HANDLE Handle() const;
  const std::string& Folder() const { return folder_; }
  const std::string& PollFile() const { return poll_file_; }
  // After a signal: watches on, the folder itself once it exists.
  void Rearm();
  // Whether the slow look stands in for a notification.
  bool Polling() const { return static_cast<bool>(poll_); }

private:
  bool WatchNearest();
  // Asks for the removal reports of the watched folder's drive.
  void HoldForRemoval();
  void LetGoOfFolder();

  std::string folder_, poll_file_;
  std::string watched_;  // the folder the notification is on: folder_ or one above it
  std::chrono::milliseconds poll_period_{kPollPeriod};
  ChangeNotificationHandle notice_;
  KernelHandle polled_;  // signalled by the slow look
  std::unique_ptr<SlowPoll> poll_;
  HWND removal_window_ = nullptr;
  FileHandle folder_handle_;        // the watched folder, whose drive the reports are about
  DeviceNotification removal_;      // the request for those reports
  HANDLE let_go_handle_ = nullptr;  // the folder's handle as it was, named by a called-off removal
  bool let_go_ = false;
};

// The last-write time of a file as text; nullopt when it cannot be examined.
std::optional<std::string> FileWriteTimeText(const std::string& path);

}  // namespace orv
