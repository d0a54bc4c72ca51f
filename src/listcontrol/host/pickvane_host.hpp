#pragma once
// The program's handle on a list control (KestrovePickvane.Pickvane).
//
// Create() makes the control from its ProgID when the library is registered; otherwise it
// loads KestrovePickvane.dll from the running program's own folder by its full path (never
// through the search path) and asks the library's DllGetClassObject for the class, so the
// program works without registration. After that everything is late-bound through IDispatch,
// as any host would: the control's members by their dispatch identifiers, the collection's
// and items' members by name. The window is placed through the control's IPickvaneWindow.
//
// Single-threaded: use it on the thread that initialised COM (apartment-threaded).
#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/handles.hpp"

namespace orv {

class PickvaneHost {
public:
  enum class Source { Registered, ProgramFolder };
  // Dispatch identifiers of the control's members.
  static constexpr DISPID kSelectItems = 0x68030000;
  static constexpr DISPID kRefresh = 0x6003000A;
  static constexpr DISPID kSelected = 0x6803000B;
  static constexpr DISPID kDblClick = 1;
  static constexpr DISPID kClick = 2;

  // By ProgID when registered, else from the program's folder; nullptr when both fail.
  static std::unique_ptr<PickvaneHost> Create();
  // Only from the library in the program's folder, registered or not.
  static std::unique_ptr<PickvaneHost> CreateFromProgramFolder();
  ~PickvaneHost();
  PickvaneHost(const PickvaneHost&) = delete;
  PickvaneHost& operator=(const PickvaneHost&) = delete;

  Source source() const { return source_; }
  IDispatch* control() const { return control_.get(); }

  // Makes the control's window a child of `parent` at `place` (client pixels).
  bool PlaceIn(HWND parent, const RECT& place);
  HWND window() const { return window_; }

  bool AddItem(std::string_view key, std::string_view caption, std::string_view comment, IUnknown* icon = nullptr);
  std::optional<std::int32_t> Count();
  std::optional<std::string> KeyAt(std::int32_t position);
  std::optional<std::string> CaptionAt(std::int32_t position);
  std::optional<std::int16_t> Selected();
  bool SetSelected(std::int16_t value);
  bool Refresh();

  // Called when the control raises DblClick or Click.
  void OnDblClick(std::function<void()> handler) { on_dblclick_ = std::move(handler); }
  void OnClick(std::function<void()> handler) { on_click_ = std::move(handler); }

private:
  class EventSink;
  PickvaneHost() = default;
  static std::unique_ptr<PickvaneHost> Finish(std::unique_ptr<PickvaneHost> host);
  ComPtr<IDispatch> Items();
  // A text member (`Key`, `Caption`) of the item at `position`, read by name.
  std::optional<std::string> ItemText(std::int32_t position, const wchar_t* member);

  ModuleHandle library_;  // first member: freed after every object from it is released
  Source source_ = Source::Registered;
  ComPtr<IDispatch> control_;
  ComPtr<IConnectionPoint> events_;
  DWORD cookie_ = 0;
  HWND window_ = nullptr;  // owned by the control
  std::function<void()> on_dblclick_, on_click_;
};

}  // namespace orv
