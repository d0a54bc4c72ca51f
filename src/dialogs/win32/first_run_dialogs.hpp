#pragma once
// frmUserDataDialog (modal, at start-up) and frmVersion (modeless, from the tray menu).
#include <windows.h>

#include <string>

namespace orv {

// Shows the first-run dialog; sets `user_data_path` when the user names a file and leaves
// it unchanged when the dialog is closed.
void ShowUserDataDialog(std::string& user_data_path);

class VersionDialog {
public:
  VersionDialog() = default;
  VersionDialog(const VersionDialog&) = delete;
  VersionDialog& operator=(const VersionDialog&) = delete;
  ~VersionDialog() { Unload(); }
  // Creates it when it does not exist yet, then shows it.
  void Show();
  void Unload();
  // For the message loop's IsDialogMessage.
  HWND hwnd() const { return hwnd_; }

private:
  static INT_PTR CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};

}  // namespace orv
