// The system's change reports the desktop watch sleeps on, under the real system: registry
// keys, folders (also ones that do not exist yet, and ones that cannot be watched), and the
// message loop's wait on them.
#include "platform/win32/change_notices.hpp"

#include <gtest/gtest.h>

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
