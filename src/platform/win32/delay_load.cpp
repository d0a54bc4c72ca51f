#include "platform/win32/delay_load.hpp"

#include <delayimp.h>

#include <cstring>
#include <mutex>
#include <string>

#include "platform/win32/wide.hpp"

namespace orv {
namespace {

// The one record of failures: the hook runs on whatever thread made the call and has no
// context of its own.
std::mutex& FailuresLock() {
  static std::mutex lock;
  return lock;
}
LibraryFailures& Failures() {
  static LibraryFailures failures;
  return failures;
}

// What a missing function returns. On x64 the caller clears its own arguments, so one stub
// stands in for any signature; the value is the failure the function's kind reports: null,
// FALSE or 0 for handles, pointers and truth values, E_FAIL for the automation library's
// HRESULT functions (its string functions return a pointer or a length).
extern "C" INT_PTR WINAPI FailedCall() {
  SetLastError(ERROR_PROC_NOT_FOUND);
  return 0;
}
extern "C" HRESULT WINAPI FailedComCall() {
  SetLastError(ERROR_PROC_NOT_FOUND);
  return E_FAIL;
}

bool ReturnsHresult(const char* library, const char* function) {
  if (_stricmp(library, "oleaut32.dll") != 0 || !function) return false;
  return std::strncmp(function, "Sys", 3) != 0 && std::strcmp(function, "VariantInit") != 0;
}

FARPROC WINAPI DelayLoadFailed(unsigned notice, PDelayLoadInfo info) {
  if (!info || (notice != dliFailLoadLib && notice != dliFailGetProc)) return nullptr;
  const char* library = info->szDll ? info->szDll : "";
  const char* function = info->dlp.fImportByName ? info->dlp.szProcName : nullptr;
  {
    std::lock_guard lock(FailuresLock());
    Failures().Record(library, function ? std::string(function) : "#" + std::to_string(info->dlp.dwOrdinal));
  }
  // A library that cannot be loaded: the program's own module stands in, which exports none of
  // its functions, so each of them fails on its own as above and lands here again.
  if (notice == dliFailLoadLib) return reinterpret_cast<FARPROC>(GetModuleHandleW(nullptr));
  void* stand_in = ReturnsHresult(library, function) ? reinterpret_cast<void*>(&FailedComCall)
                                                     : reinterpret_cast<void*>(&FailedCall);
  return reinterpret_cast<FARPROC>(stand_in);
}

}  // namespace
}  // namespace orv

#if defined(_MSC_VER)
// The Microsoft toolchain takes the hook as a constant it defines once.
extern "C" const PfnDliHook __pfnDliFailureHook2 = orv::DelayLoadFailed;
#endif

namespace orv {

void InstallDelayLoadGuard() {
#if !defined(_MSC_VER)
  __pfnDliFailureHook2 = DelayLoadFailed;
#endif
}

bool DelayLoadedLibraryUsable(const char* library) {
  // Loaded now as the first call would load it (the program's manifest chooses the version);
  // kept, as that call will want it. A function missing from it is found out when it is
  // called, and then counts from that moment. (The binutils linker leaves the image's
  // delay-import directory empty, so the runtime's bind-everything-now finds nothing.)
  if (!GetModuleHandleA(library) && !LoadLibraryA(library)) {
    std::lock_guard lock(FailuresLock());
    Failures().Record(library, {});
  }
  return !DelayLoadFailure(library);
}

std::optional<LibraryFailure> DelayLoadFailure(const char* library) {
  std::lock_guard lock(FailuresLock());
  return Failures().Of(library);
}

bool DialogLibrariesReady(HWND owner) {
  for (const char* library : {"comctl32.dll", "oleaut32.dll"}) {
    if (DelayLoadedLibraryUsable(library)) continue;
    const LibraryFailure failure = DelayLoadFailure(library).value_or(LibraryFailure{library, {}});
    MessageBoxW(owner, Utf8ToWide(LibraryFailureMessage(failure)).c_str(), L"Orvanta", MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

}  // namespace orv
