#pragma once
// The registered message "Orvanta.DescribeState": a window of ours that is sent it answers
// with a few "name=value" lines about its state, as WM_COPYDATA to the window given in
// wParam. The end-to-end tests run in another process and read what they cannot see
// through window messages (menus, dates, the items of the list control).
#include <windows.h>

#include <string_view>

namespace orv {

inline UINT StateReportMessage() {
  static const UINT message = RegisterWindowMessageW(L"Orvanta.DescribeState");
  return message;
}

// Sends `utf8` to the window that asked; `from` is the answering window.
inline void SendStateReport(HWND requester, HWND from, std::string_view utf8) {
  COPYDATASTRUCT data{1, static_cast<DWORD>(utf8.size()), const_cast<char*>(utf8.data())};
  SendMessageW(requester, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data));
}

}  // namespace orv
