#pragma once
// Reading windows the way a screen reader does: through oleacc's AccessibleObjectFromWindow
// and the IAccessible it returns, and through WinEvents heard in this process.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/win32/handles.hpp"

namespace orv::test {

inline ComPtr<IAccessible> AccessibleOf(HWND window) {
  ComPtr<IAccessible> acc;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                             reinterpret_cast<void**>(acc.put()));
  return acc;
}

inline VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
inline std::wstring Text(IAccessible* acc, TextGetter get, long id = CHILDID_SELF) {
  BSTR text = nullptr;
  std::wstring out;
  if (acc && (acc->*get)(Child(id), &text) == S_OK && text) out.assign(text, SysStringLen(text));
  SysFreeString(text);
  return out;
}
inline std::wstring Name(IAccessible* acc, long id = CHILDID_SELF) { return Text(acc, &IAccessible::get_accName, id); }

inline long Role(IAccessible* acc, long id = CHILDID_SELF) {
  VARIANT v;
  VariantInit(&v);
  if (!acc || acc->get_accRole(Child(id), &v) != S_OK || v.vt != VT_I4) return -1;
  return v.lVal;
}
inline long State(IAccessible* acc, long id = CHILDID_SELF) {
  VARIANT v;
  VariantInit(&v);
  if (!acc || acc->get_accState(Child(id), &v) != S_OK || v.vt != VT_I4) return -1;
  return v.lVal;
}
inline long ChildCount(IAccessible* acc) {
  long count = -1;
  if (acc && acc->get_accChildCount(&count) != S_OK) return -1;
  return count;
}

// One WinEvent as a screen reader hears it.
struct HeardEvent {
  DWORD event;
  HWND window;
  LONG object, child;
  bool operator==(const HeardEvent&) const = default;
};

// Hears the focus, selection and state events of this process while it lives; the events
// arrive through the message queue, so Pump() before looking.
class EventEar {
public:
  EventEar() {
    current_ = this;
    hook_.reset(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, &EventEar::Heard,
                                GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
  }
  ~EventEar() { current_ = nullptr; }
  EventEar(const EventEar&) = delete;
  EventEar& operator=(const EventEar&) = delete;
  bool listening() const { return static_cast<bool>(hook_); }
  std::vector<HeardEvent> Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
    return std::exchange(heard_, {});
  }

private:
  static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (current_ && event != EVENT_OBJECT_LOCATIONCHANGE && event != EVENT_OBJECT_NAMECHANGE &&
        event != EVENT_OBJECT_VALUECHANGE)
      current_->heard_.push_back({event, window, object, child});
  }
  static inline EventEar* current_ = nullptr;
  WinEventHook hook_;
  std::vector<HeardEvent> heard_;
};

inline bool Contains(const std::vector<HeardEvent>& events, const HeardEvent& e) {
  for (const auto& h : events)
    if (h == e) return true;
  return false;
}

}  // namespace orv::test
