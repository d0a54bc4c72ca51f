#include "platform/win32/startup_trace.hpp"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "platform/win32/handles.hpp"

namespace orv {
namespace {

// The file, opened on the first mark; invalid when there is no trace.
HANDLE TraceFile() {
  static const FileHandle file = [] {
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"ORVANTA_STARTUP_TRACE", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return FileHandle();
    return FileHandle(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  }();
  return file.get();
}

double UnixSeconds(const FILETIME& time) {
  constexpr unsigned long long kTicksFrom1601To1970 = 116444736000000000ULL;  // 100 ns ticks
  const unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<double>(ticks - kTicksFrom1601To1970) / 1e7;
}

void Write(HANDLE file, double seconds, const char* name) {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  const unsigned long long resident =
      K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory) ? memory.WorkingSetSize / 1024 : 0;
  char line[160];
  const int n = std::snprintf(line, sizeof line, "%.4f %s %llu\n", seconds, name, resident);
  if (n <= 0) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(n < static_cast<int>(sizeof line) ? n : sizeof line - 1), &written,
            nullptr);
}

}  // namespace

void MarkStartup(const char* name) {
  const HANDLE file = TraceFile();
  if (file == INVALID_HANDLE_VALUE) return;
  static bool first = true;
  if (first) {
    first = false;
    // When the system created the process, before any of its libraries were loaded.
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) Write(file, UnixSeconds(created), "process");
  }
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  Write(file, UnixSeconds(now), name);
}

}  // namespace orv
