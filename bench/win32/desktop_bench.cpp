// Cost of one look at the desktop (the snapshot of the shell's windows and the decision) under
// Wine or Windows, with a classic shell desktop and a number of other top-level windows, shown
// and hidden, as a busy session has. Prints medians; it never fails on a time.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "desktop/desktop_attachment.hpp"
#include "desktop/win32/desktop_snapshot.hpp"
#include "median_time.hpp"

namespace orv {
namespace {

HWND Make(const wchar_t* class_name, DWORD style, HWND parent) {
  return CreateWindowExW(0, class_name, L"", style, 0, 0, 100, 100, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

int Run() {
  for (const wchar_t* name : {L"Progman", L"SHELLDLL_DefView", L"BenchWindow"}) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
  HWND progman = Make(L"Progman", WS_POPUP | WS_VISIBLE, nullptr);
  Make(L"SHELLDLL_DefView", WS_CHILD | WS_VISIBLE, progman);
  HWND calendar = Make(L"BenchWindow", WS_CHILD | WS_VISIBLE, progman);
  std::vector<HWND> others;
  for (int count : {0, 100, 300}) {
    while (static_cast<int>(others.size()) < count)
      others.push_back(
          Make(L"BenchWindow", WS_POPUP | (others.size() % 3 ? 0 : WS_VISIBLE), nullptr));
    const DesktopSnapshot snapshot = ReadDesktopSnapshot(calendar);
    DesktopAttachment attachment;
    const double read = MedianSeconds(200, [&] { ReadDesktopSnapshot(calendar); }) * 1e6;
    const double decide =
        MedianSeconds(200, [&] { attachment.Decide(snapshot, std::chrono::milliseconds{0}); }) *
        1e6;
    std::printf(
        "%3d other windows (a third shown): snapshot %8.1f us, decision %6.1f us, %zu windows "
        "kept\n",
        count, read, decide, snapshot.windows.size());
  }
  return 0;
}

}  // namespace
}  // namespace orv

int main() { return orv::Run(); }
