#pragma once
// The change notices on the folders whose files may change the desktop picture: the
// wallpaper's and the shell's copy's. They follow the wallpaper from copy to copy, wait in the
// message loop, and let go of a folder on a drive that is about to be removed (a USB stick
// holding the wallpaper), watching it again once the drive is back.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/change_notices.hpp"

namespace orv {

class FolderWatches {
public:
  // `changed` runs when something in a watched folder changed (or its drive came back).
  FolderWatches(HandleWaits& waits, std::function<void()> changed) : waits_(waits), changed_(std::move(changed)) {}
  ~FolderWatches() { Stop(); }
  FolderWatches(const FolderWatches&) = delete;
  FolderWatches& operator=(const FolderWatches&) = delete;

  // The window that hears the system's device reports (WM_DEVICECHANGE goes to OnDeviceChange).
  void ReportRemovalTo(HWND window) { window_ = window; }
  // Watches the folders of these files; a folder watched already is kept as it is.
  void Follow(const std::string& wallpaper, const std::string& transcoded);
  void Stop();
  void OnDeviceChange(WPARAM event, LPARAM data);

private:
  void WaitOn(FolderChangeNotice* notice);

  HandleWaits& waits_;
  std::function<void()> changed_;
  HWND window_ = nullptr;
  std::vector<std::unique_ptr<FolderChangeNotice>> notices_;
};

}  // namespace orv
