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

// Hears the focus, selection and state events of a process (this one unless told) while it lives; the events
// arrive through the message queue, so Pump() before looking.
class EventEar {
public:
  explicit EventEar(DWORD process = GetCurrentProcessId()) {
    current_ = this;
    hook_.reset(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, &EventEar::Heard, process, 0,
                                WINEVENT_OUTOFCONTEXT));
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

inline std::wstring ClassOf(HWND w) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  return cls;
}
inline std::wstring WindowText(HWND w) {
  wchar_t text[512] = {};
  GetWindowTextW(w, text, 512);
  return text;
}

// What a walk over a dialog's controls found: inputs a screen reader finds no name for, labels
// whose mnemonic leads nowhere, and how many inputs it named.
struct DialogWalk {
  std::vector<std::wstring> unnamed;        // "class id"
  std::vector<std::wstring> dead_mnemonics;  // label texts
  int inputs = 0;
  int named_by_label_rule = 0;  // named only by the label rule, not by the accessible object
};

// Walks every control of `dialog` (pages and panels included). An input is named when its
// accessible object names it, or -- where the platform's standard object does not look for
// labels (Wine's does not) -- when the window just before it in the tab order is a static
// text or group box with text, the rule Windows names standard controls by.
inline DialogWalk WalkDialog(HWND dialog) {
  DialogWalk walk;
  struct Context {
    DialogWalk* walk;
  } context{&walk};
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM lp) -> BOOL {
        DialogWalk& found = *reinterpret_cast<Context*>(lp)->walk;
        if (!IsWindowVisible(w)) return TRUE;
        const std::wstring cls = ClassOf(w);
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        const bool is_static = _wcsicmp(cls.c_str(), L"Static") == 0;
        const bool is_button = _wcsicmp(cls.c_str(), L"Button") == 0;
        if (is_static && !(style & SS_NOPREFIX) && WindowText(w).find(L'&') != std::wstring::npos) {
          HWND next = GetWindow(w, GW_HWNDNEXT);
          if (!next || !(GetWindowLongPtrW(next, GWL_STYLE) & WS_TABSTOP) || !IsWindowEnabled(next))
            found.dead_mnemonics.push_back(WindowText(w));
        }
        const LONG_PTR kind = style & BS_TYPEMASK;
        const bool is_input = _wcsicmp(cls.c_str(), L"Edit") == 0 || _wcsicmp(cls.c_str(), L"ComboBox") == 0 ||
                              _wcsicmp(cls.c_str(), L"SysListView32") == 0 ||
                              _wcsicmp(cls.c_str(), L"KestrovePickvaneControl") == 0 ||
                              (is_button && kind != BS_GROUPBOX && kind != BS_OWNERDRAW && kind != BS_PUSHBUTTON &&
                               kind != BS_DEFPUSHBUTTON);
        if (!is_input) return TRUE;
        ++found.inputs;
        ComPtr<IAccessible> acc = AccessibleOf(w);
        if (!Name(acc.get()).empty()) return TRUE;
        HWND before = GetWindow(w, GW_HWNDPREV);
        if (before) {
          const std::wstring before_cls = ClassOf(before);
          const LONG_PTR before_style = GetWindowLongPtrW(before, GWL_STYLE);
          const bool label = (_wcsicmp(before_cls.c_str(), L"Static") == 0 && (before_style & SS_TYPEMASK) <= SS_RIGHT) ||
                             (_wcsicmp(before_cls.c_str(), L"Button") == 0 && (before_style & BS_TYPEMASK) == BS_GROUPBOX);
          if (label && !WindowText(before).empty()) {
            ++found.named_by_label_rule;
            return TRUE;
          }
        }
        found.unnamed.push_back(cls + L" " + std::to_wstring(GetDlgCtrlID(w)));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&context));
  return walk;
}

}  // namespace orv::test
