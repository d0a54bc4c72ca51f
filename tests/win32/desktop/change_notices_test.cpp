// The system's change reports the desktop watch sleeps on, under the real system: registry
// keys, folders (also ones that do not exist yet, and ones that cannot be watched), and the
// message loop's wait on them.
#include "platform/win32/change_notices.hpp"

#include <gtest/gtest.h>

#include <dbt.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <thread>

#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

using namespace std::chrono_literals;

bool Signalled(HANDLE h, DWORD ms = 3000) { return WaitForSingleObject(h, ms) == WAIT_OBJECT_0; }

void Write(const std::filesystem::path& file, const char* text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

TEST(KeyChangeNotice, SignalsEachWriteOnceAfterEachRearm) {
  constexpr wchar_t kKey[] = L"Software\\OrvantaTest\\Notice";
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  HKEY raw = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr), ERROR_SUCCESS);
  RegKey key(raw);
  KeyChangeNotice notice;
  ASSERT_TRUE(notice.Watch(HKEY_CURRENT_USER, kKey));
  EXPECT_FALSE(Signalled(notice.Event(), 50));
  auto set = [&](const wchar_t* value) {
    RegSetValueExW(key.get(), L"Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
  };
  set(L"a");
  EXPECT_TRUE(Signalled(notice.Event()));
  EXPECT_TRUE(Signalled(notice.Event(), 0));  // stays signalled until asked again
  ASSERT_TRUE(notice.Rearm());
  EXPECT_FALSE(Signalled(notice.Event(), 50));
  set(L"b");
  EXPECT_TRUE(Signalled(notice.Event()));
  key.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OrvantaTest");
  KeyChangeNotice missing;
  EXPECT_FALSE(missing.Watch(HKEY_CURRENT_USER, L"Software\\OrvantaTest\\None"));
}

TEST(FolderChangeNotice, AFileRewrittenInPlaceIsReported) {
  test::TempDir dir;
  const auto file = dir.path() / "wall.bmp";
  Write(file, "one");
  FolderChangeNotice notice;
  ASSERT_TRUE(notice.Watch(test::Utf8(dir.path()), test::Utf8(file)));
  EXPECT_FALSE(notice.Polling());
  EXPECT_FALSE(Signalled(notice.Handle(), 50));
  Write(file, "two");
  EXPECT_TRUE(Signalled(notice.Handle()));
  notice.Rearm();
  std::this_thread::sleep_for(50ms);  // the rest of the same write
  notice.Rearm();
  EXPECT_FALSE(Signalled(notice.Handle(), 50));
  Write(dir.path() / "other.txt", "x");  // anything in the folder: the watch judges what counts
  EXPECT_TRUE(Signalled(notice.Handle()));
}

TEST(FolderChangeNotice, AFolderThatDoesNotExistYetIsWatchedFromAboveUntilItDoes) {
  test::TempDir dir;
  const auto themes = dir.path() / "Windows" / "Themes";
  FolderChangeNotice notice;
  ASSERT_TRUE(notice.Watch(test::Utf8(themes), test::Utf8(themes / "TranscodedWallpaper")));
  ASSERT_TRUE(notice.Handle());
  std::filesystem::create_directory(dir.path() / "Windows");
  ASSERT_TRUE(Signalled(notice.Handle()));
  notice.Rearm();  // one level further down, still waiting for "Themes"
  std::filesystem::create_directory(themes);
  ASSERT_TRUE(Signalled(notice.Handle()));
  notice.Rearm();  // "Themes" itself now
  EXPECT_FALSE(Signalled(notice.Handle(), 50));
  Write(themes / "TranscodedWallpaper", "picture");
  EXPECT_TRUE(Signalled(notice.Handle()));
}

TEST(FolderChangeNotice, WhatCannotBeWatchedIsLookedAtSlowlyOnAWorker) {
  test::TempDir dir;
  const auto file = dir.path() / "wall.bmp";
  Write(file, "one");
  // A file is no folder: the system refuses to watch it, as a share may.
  FolderChangeNotice notice;
  ASSERT_TRUE(notice.Watch(test::Utf8(file), test::Utf8(file), 20ms));
  EXPECT_TRUE(notice.Polling());
  EXPECT_FALSE(Signalled(notice.Handle(), 100));
  // The file time counts whole seconds.
  HANDLE h = CreateFileW(file.wstring().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FileHandle opened(h);
  FILETIME later{};
  GetSystemTimeAsFileTime(&later);
  later.dwHighDateTime += 1;  // about seven minutes on
  SetFileTime(opened.get(), nullptr, nullptr, &later);
  opened.reset();
  EXPECT_TRUE(Signalled(notice.Handle()));
  notice.Rearm();
  EXPECT_FALSE(Signalled(notice.Handle(), 100));
}

// A USB stick holding the wallpaper: the system asks before it removes the drive, and a folder
// held open keeps it in. The notice lets go of everything on the folder, watches again when the
// removal is called off, and after the removal, when its own drive (not another) comes back.
TEST(FolderChangeNotice, LetsGoOfAFolderWhoseDriveIsRemovedAndWatchesAgainWhenItIsBack) {
  test::TempDir dir;
  const auto file = dir.path() / "wall.bmp";
  Write(file, "one");
  const std::string folder = test::Utf8(dir.path());
  WindowHandle window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  FolderChangeNotice notice;
  notice.ReportRemovalTo(window.get());
  ASSERT_TRUE(notice.Watch(folder, test::Utf8(file)));
  ASSERT_TRUE(notice.RemovalHandle()) << "no removal reports asked for the folder's drive";
  const auto report = [](UINT type, HANDLE handle, DWORD drives) {
    union {
      DEV_BROADCAST_HANDLE handle;
      DEV_BROADCAST_VOLUME volume;
    } r{};
    if (type == DBT_DEVTYP_HANDLE) {
      r.handle.dbch_size = sizeof r.handle;
      r.handle.dbch_devicetype = type;
      r.handle.dbch_handle = handle;
    } else {
      r.volume.dbcv_size = sizeof r.volume;
      r.volume.dbcv_devicetype = type;
      r.volume.dbcv_unitmask = drives;
    }
    return r;
  };
  auto someone_elses = report(DBT_DEVTYP_HANDLE, reinterpret_cast<HANDLE>(0x1234), 0);
  EXPECT_FALSE(notice.OnDeviceChange(DBT_DEVICEQUERYREMOVE, reinterpret_cast<LPARAM>(&someone_elses)));
  auto ours = report(DBT_DEVTYP_HANDLE, notice.RemovalHandle(), 0);
  EXPECT_TRUE(notice.OnDeviceChange(DBT_DEVICEQUERYREMOVE, reinterpret_cast<LPARAM>(&ours)));
  EXPECT_TRUE(notice.LetGo());
  EXPECT_EQ(notice.Handle(), nullptr);
  EXPECT_EQ(notice.RemovalHandle(), nullptr);

  // Another program kept the drive: watched again, and changes are reported.
  EXPECT_TRUE(notice.OnDeviceChange(DBT_DEVICEQUERYREMOVEFAILED, reinterpret_cast<LPARAM>(&ours)));
  EXPECT_FALSE(notice.LetGo());
  ASSERT_TRUE(notice.Handle());
  Write(file, "two");
  EXPECT_TRUE(Signalled(notice.Handle()));

  // Removed for good, then back: only its own drive's arrival watches again.
  ours = report(DBT_DEVTYP_HANDLE, notice.RemovalHandle(), 0);
  EXPECT_TRUE(notice.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&ours)));
  const int drive = std::toupper(static_cast<unsigned char>(folder[0])) - 'A';
  auto another_drive = report(DBT_DEVTYP_VOLUME, nullptr, 1u << ((drive + 1) % 26));
  EXPECT_FALSE(notice.OnDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&another_drive)));
  EXPECT_TRUE(notice.LetGo());
  auto its_drive = report(DBT_DEVTYP_VOLUME, nullptr, 1u << drive);
  EXPECT_TRUE(notice.OnDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&its_drive)));
  EXPECT_FALSE(notice.LetGo());
  EXPECT_TRUE(notice.Handle());
  EXPECT_TRUE(notice.RemovalHandle());
}

TEST(HandleWaits, ASignalledHandleRunsItsActionAndAMessageEndsTheWait) {
  HandleWaits waits;
  KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  int runs = 0;
  waits.Add(event.get(), [&] {
    ++runs;
    ResetEvent(event.get());
  });
  SetEvent(event.get());
  waits.WaitForMessageOrHandle();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(waits.Wakeups(), 1u);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  waits.WaitForMessageOrHandle();  // returns for the message
  EXPECT_EQ(runs, 1);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
  waits.Remove(event.get());
  SetEvent(event.get());
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  waits.WaitForMessageOrHandle();
  EXPECT_EQ(runs, 1);  // removed: not waited on any more
  PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE);
}

}  // namespace
}  // namespace orv
