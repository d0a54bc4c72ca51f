#pragma once
// The small Win32 base of the editing dialogs: a dialog built in memory (no resources), laid
// out in pixels of a 96-dpi screen and scaled to its monitor, with buttons painted in their own back colours and list views with check
// boxes. The dialog keeps `this` in DWLP_USER and dispatches to virtual members; nothing
// throws out of the dialog procedure.
#include <windows.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

class DialogWindow {
public:
  DialogWindow() = default;
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Modal to `owner`; returns the EndDialog result.
  INT_PTR ShowModal(HWND owner, int left, int top);
  // Modeless; the caller's message loop must pass messages through IsDialogMessageW.
  HWND Create(HWND owner, int left, int top);
  HWND hwnd() const { return hwnd_; }
  // The screen position of the dialog's top-left corner: where it stands now, or where it
  // stood when it closed (the user may have moved it).
  POINT Place() const;
  // The picture a picture box shows (nullptr when none).
  IPicture* PictureOf(int id) const;

protected:
  virtual int Width() const = 0;   // pixels of a 96-dpi screen, outer size
  virtual int Height() const = 0;
  virtual void OnInit() = 0;
  virtual void OnCommand(int id, int code) = 0;
  virtual LRESULT OnNotify(const NMHDR&) { return 0; }
  virtual void OnClose();  // the close box; modal dialogs end with IDCANCEL
  // Any other message; return true with `result` set when handled.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

  HWND AddControl(const wchar_t* window_class, std::string_view text, DWORD style, int x, int y,
                  int width, int height, int id, HFONT font = nullptr);
  // A push button painted in `back`. The default button gets the heavy frame.
  HWND AddButton(std::string_view text, int id, int x, int y, int width, int height, Rgb back,
                 bool is_default = false);
  // A single-column report list with a check box in front of each row.
  HWND AddCheckList(int id, int x, int y, int width, int height, HFONT font);
  // An image holder: a frameless box that paints the picture SetPicture gives it, or nothing.
  HWND AddPictureBox(int id, int x, int y, int width, int height);
  // Keeps a reference to `picture` (nullptr clears the box) and repaints the box.
  void SetPicture(int id, IPicture* picture);
  static std::vector<bool> CheckedRows(HWND list);
  void SetText(int id, std::string_view text);
  void SetCaption(std::string_view text);
  void End(INT_PTR result);

  // A length given for a 96-dpi screen, at the scale the dialog is laid out for.
  int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  HFONT DialogFont() const { return dialog_font_.get(); }
  // "ＭＳ Ｐゴシック" 11.25 pt, the lists' and text boxes' font.
  HFONT ListFont() const { return list_font_.get(); }

private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void DrawButton(const DRAWITEMSTRUCT& item);
  void DrawPictureBox(const DRAWITEMSTRUCT& item) const;

  HWND hwnd_ = nullptr;  // owned by the system (modal) or destroyed with us (modeless)
  bool modal_ = false;
  int left_ = 0, top_ = 0;
  int dpi_ = 96;  // of the monitor the dialog opens on
  FontHandle dialog_font_, list_font_;
  std::map<int, Rgb> button_colors_;
  std::map<int, ComPtr<IPicture>> pictures_;  // by picture box id
  int default_id_ = 0;
};

}  // namespace orv
