#pragma once
// The registered message "Orvanta.DescribeState": a window of ours that is sent it answers
// with a few "name=value" lines about its state, as WM_COPYDATA to the window given in
// wParam. The end-to-end tests run in another process and read what they cannot see
// through window messages (menus, dates, the items of the list control).
//
// Only a program started for testing answers: in normal use no other program may make the
// calendar's thread, which the desktop's windows share, wait on a send of ours.
#include <windows.h>

#include <string_view>

namespace orv {

namespace detail {
inline UINT& StateReportId() {
  static UINT id = 0;  // 0: not answered; set once at start-up, before any window exists
  return id;
}
inline UINT& TestingClockId() {
  static UINT id = 0;
  return id;
}
inline UINT& TestingWorkAreaId() {
  static UINT id = 0;
  return id;
}
}  // namespace detail

inline void EnableStateReport() {
  detail::StateReportId() = RegisterWindowMessageW(L"Orvanta.DescribeState");
  detail::TestingClockId() = RegisterWindowMessageW(L"Orvanta.SetClock");
  detail::TestingWorkAreaId() = RegisterWindowMessageW(L"Orvanta.SetWorkAreaRight");
}
// "Orvanta.SetClock", answered only by a program started for testing: the program's clock
// moves so that it stands wParam milliseconds before the next midnight, as if the system's
// clock had been set. The date cannot be changed under the test system.
inline bool IsTestingClockRequest(UINT message) {
  return detail::TestingClockId() != 0 && message == detail::TestingClockId();
}
// "Orvanta.SetWorkAreaRight", for testing only as well: the program sets the work area's right
// edge to wParam itself, announcing it as a taskbar would. (Wine keeps the work area one
// process sets to that process.)
inline bool IsTestingWorkAreaRequest(UINT message) {
  return detail::TestingWorkAreaId() != 0 && message == detail::TestingWorkAreaId();
}
inline bool IsStateReportRequest(UINT message) {
  return detail::StateReportId() != 0 && message == detail::StateReportId();
}

// Sends `utf8` to the window that asked; `from` is the answering window.
inline void SendStateReport(HWND requester, HWND from, std::string_view utf8) {
  COPYDATASTRUCT data{1, static_cast<DWORD>(utf8.size()), const_cast<char*>(utf8.data())};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(requester, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                      SMTO_NORMAL, 2000, &ignored);
}

}  // namespace orv
