#pragma once
// The control's window: a child of the host's window, made of the outline, the viewport
// ("container") with its vertical scroll bar, and the canvas window that shows the model's
// retained picture of the rows. Scrolling moves the canvas window; nothing is redrawn. The
// window translates messages into model calls and shows the model's state afterwards.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "listcontrol/pickvane_model.hpp"
#include "platform/win32/accessible.hpp"
#include "platform/win32/gdi_canvas.hpp"

namespace orv::pickvane {

struct ControlWindowArgs {
  HWND parent = nullptr;
  RECT place{};                  // in the parent's client coordinates
  PickvaneModel* model = nullptr;  // not owned; outlives the window
  GdiCanvas* canvas = nullptr;     // the model's canvas; not owned
  std::function<void()> on_click;      // left button released on the canvas
  std::function<void()> on_dblclick;   // canvas double-clicked
};

// Screen readers see the control as a list named by its label, with one list item per row.
class ControlWindow final : private AccessibleSource {
public:
  // nullptr when the windows cannot be made.
  static std::unique_ptr<ControlWindow> Create(ControlWindowArgs args);
  ~ControlWindow();
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  HWND hwnd() const { return control_; }
  void Move(const RECT& place);
  // Shows the model's state: places the parts, sets the scroll bar, moves the canvas, and
  // repaints the canvas when the model drew it again.
  void ShowState();

private:
  explicit ControlWindow(ControlWindowArgs args);
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnControl(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnContainer(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnCanvas(UINT message, WPARAM wparam, LPARAM lparam);
  void UpdateTooltip(int canvas_y);
  void SetTipText(std::wstring text);
  void FollowTooltip();
  // Tells screen readers what changed since the last time: the selection (and the focus
  // with it), the rows.
  void AnnounceChanges();

  // AccessibleSource
  long AccessibleRole() override { return ROLE_SYSTEM_LIST; }
  std::wstring AccessibleName() override { return control_ ? LabelOf(control_) : std::wstring(); }
  long ChildCount() override;
  bool DescribeChild(long id, AccessibleChild& out) override;
  long ChildAt(POINT screen) override;
  long FocusedChild() override;
  long SelectedChild() override;
  bool SelectChild(long id, long flags) override;

  ControlWindowArgs args_;
  HWND control_ = nullptr;    // owned: destroyed (with its children) in the destructor
  HWND container_ = nullptr;  // child of control_
  HWND canvas_window_ = nullptr;  // child of container_
  HWND scroll_bar_ = nullptr;     // child of container_
  HWND tooltip_ = nullptr;        // owned by control_, goes with it
  std::wstring tip_text_;
  std::uint64_t shown_draw_ = ~std::uint64_t{0};
  int shown_top_ = 0;
  bool left_down_ = false;
  std::int64_t announced_selected_ = 0;
  std::int64_t announced_count_ = 0;
  AccessibleSlot accessible_;  // disconnected when the window goes
};

}  // namespace orv::pickvane
