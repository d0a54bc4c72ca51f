#include "platform/win32/delay_load.hpp"

#include <gtest/gtest.h>

// Loaded on first use (see this folder's build file): a library that does not exist, and a
// function the system's kernel library does not have.
extern "C" int WINAPI OrvAbsentFunction(int value);
extern "C" void* WINAPI OrvNoSuchKernelFunction(const char* name);

namespace orv {
namespace {

// Without the hook, either call raises an exception nothing catches and the program ends with
// the user's unsaved edits; with it, the call fails like a function that reports failure, and
// what is missing is known to whoever asks before opening a window.
TEST(DelayLoadGuardTest, AMissingLibraryOrFunctionFailsTheCallAndIsRemembered) {
  InstallDelayLoadGuard();
  EXPECT_TRUE(DelayLoadedLibraryUsable("comctl32.dll"));
  EXPECT_EQ(OrvAbsentFunction(7), 0);  // and again: the stand-in stays bound
  EXPECT_EQ(OrvAbsentFunction(8), 0);
  EXPECT_FALSE(DelayLoadedLibraryUsable("orv_absent.dll"));
  ASSERT_TRUE(DelayLoadFailure("ORV_ABSENT.DLL"));
  EXPECT_EQ(DelayLoadFailure("orv_absent.dll")->function, "OrvAbsentFunction");
  EXPECT_FALSE(DelayLoadedLibraryUsable("orv_never_there.dll"));  // found out before any call

  EXPECT_FALSE(DelayLoadFailure("kernel32.dll"));  // nothing asked of it yet
  SetLastError(0);
  EXPECT_EQ(OrvNoSuchKernelFunction("x"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  ASSERT_TRUE(DelayLoadFailure("kernel32.dll"));
  EXPECT_EQ(DelayLoadFailure("kernel32.dll")->function, "OrvNoSuchKernelFunction");
  EXPECT_FALSE(DelayLoadedLibraryUsable("kernel32.dll"));
}

}  // namespace
}  // namespace orv
