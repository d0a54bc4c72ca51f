#include "platform/win32/accessible.hpp"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "platform/accessible_text.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

// Interface identifiers by __uuidof: mingw's oleacc import library defines IID_IAccessible as
// an import thunk, so in a program linked with it the plain symbol is not the GUID.

// oleacc's two entry points a server needs, loaded on the first request and kept for the
// process's life (an accessible object handed out may outlive any one window).
struct Oleacc {
  using CreateStd = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using FromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  CreateStd create_std = nullptr;
  FromObject lresult_from_object = nullptr;
};

const Oleacc& LoadOleacc() {
  static const Oleacc loaded = [] {
    Oleacc o;
    if (HMODULE module = LoadLibraryW(L"oleacc.dll")) {
      o.create_std = reinterpret_cast<Oleacc::CreateStd>(
          reinterpret_cast<void*>(GetProcAddress(module, "CreateStdAccessibleObject")));
      o.lresult_from_object = reinterpret_cast<Oleacc::FromObject>(
          reinterpret_cast<void*>(GetProcAddress(module, "LresultFromObject")));
    }
    return o;
  }();
  return loaded;
}

HRESULT Text(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long id) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = id;
}

}  // namespace

long AccessibleSource::ChildAt(POINT screen) {
  const long count = ChildCount();
  for (long id = 1; id <= count; ++id) {
    AccessibleChild child;
    if (DescribeChild(id, child) && PtInRect(&child.screen, screen)) return id;
  }
  return 0;
}

// The COM object. Every method checks the connection first, runs inside a guard (nothing
// may leave a COM method as an exception) and leaves out-parameters defined on failure.
// IDispatch has no type information: clients use the IAccessible methods themselves.
class WindowAccessible final : public UntypedDispatch<IAccessible> {
public:
  WindowAccessible(HWND window, AccessibleSource* source, ComPtr<IAccessible> standard, LiveObjectCount count)
      : UntypedDispatch(__uuidof(IAccessible), count), window_(window), source_(source), standard_(std::move(standard)) {}

  HWND window() const { return window_; }
  void Disconnect() {
    source_ = nullptr;
    window_ = nullptr;
    standard_.reset();
  }

  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return Guard([&] { return standard_->get_accParent(parent); });
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return Guard([&] {
      *count = source_->ChildCount();
      return S_OK;
    });
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return OnChild(child, [&] { return E_INVALIDARG; }, [&](long) { return S_FALSE; });  // simple elements
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return OnChild(
        child,
        [&]() -> HRESULT {
          const std::wstring name = source_->AccessibleName();
          return name.empty() ? standard_->get_accName(child, out) : Text(name, out);
        },
        [&](long id) { return Describe(id, [&](const AccessibleChild& c) { return Text(c.name, out); }); });
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return OnChild(child, [&] { return standard_->get_accValue(child, out); },
                   [&](long) { return DISP_E_MEMBERNOTFOUND; });
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return OnChild(child, [&] { return standard_->get_accDescription(child, out); },
                   [&](long id) { return Describe(id, [&](const AccessibleChild& c) { return Text(c.description, out); }); });
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return OnChild(
        child,
        [&] {
          SetChild(out, source_->AccessibleRole());
          return S_OK;
        },
        [&](long id) {
          return Describe(id, [&](const AccessibleChild& c) {
            SetChild(out, c.role);
            return S_OK;
          });
        });
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return OnChild(child, [&] { return standard_->get_accState(child, out); },
                   [&](long id) {
                     return Describe(id, [&](const AccessibleChild& c) {
                       SetChild(out, c.state);
                       return S_OK;
                     });
                   });
  }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return OnChild(child, [&] { return standard_->get_accHelp(child, out); },
                   [&](long id) { return Describe(id, [&](const AccessibleChild& c) { return Text(c.help, out); }); });
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return OnChild(child, [&] { return standard_->get_accHelpTopic(file, child, topic); },
                   [&](long) { return DISP_E_MEMBERNOTFOUND; });
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return OnChild(child, [&] { return standard_->get_accKeyboardShortcut(child, out); },
                   [&](long) { return S_FALSE; });
  }
  STDMETHODIMP get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return Guard([&] {
      HWND focus = GetFocus();
      if (!focus || (focus != window_ && !IsChild(window_, focus))) return S_FALSE;
      SetChild(out, source_->FocusedChild());
      return S_OK;
    });
  }
  STDMETHODIMP get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return Guard([&] {
      const long selected = source_->SelectedChild();
      if (selected <= 0) return S_FALSE;
      SetChild(out, selected);
      return S_OK;
    });
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    if (out) *out = nullptr;
    return OnChild(child, [&] { return standard_->get_accDefaultAction(child, out); },
                   [&](long id) {
                     return Describe(id, [&](const AccessibleChild& c) { return Text(c.default_action, out); });
                   });
  }
  STDMETHODIMP accSelect(long flags, VARIANT child) override {
    return OnChild(child, [&] { return standard_->accSelect(flags, child); },
                   [&](long id) { return source_->SelectChild(id, flags) ? S_OK : DISP_E_MEMBERNOTFOUND; });
  }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return OnChild(child, [&] { return standard_->accLocation(left, top, width, height, child); },
                   [&](long id) {
                     return Describe(id, [&](const AccessibleChild& c) {
                       *left = c.screen.left;
                       *top = c.screen.top;
                       *width = c.screen.right - c.screen.left;
                       *height = c.screen.bottom - c.screen.top;
                       return S_OK;
                     });
                   });
  }
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return OnChild(
        start,
        [&]() -> HRESULT {
          const long count = source_->ChildCount();
          if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            if (count == 0) return S_FALSE;
            SetChild(out, direction == NAVDIR_FIRSTCHILD ? 1 : count);
            return S_OK;
          }
          return standard_->accNavigate(direction, start, out);
        },
        [&](long id) -> HRESULT {
          long next = 0;
          if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) next = id + 1;
          if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) next = id - 1;
          if (next < 1 || next > source_->ChildCount()) return S_FALSE;
          SetChild(out, next);
          return S_OK;
        });
  }
  STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return Guard([&] {
      if (const long id = source_->ChildAt(POINT{x, y}); id > 0) {
        SetChild(out, id);
        return S_OK;
      }
      return standard_->accHitTest(x, y, out);
    });
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    return OnChild(child, [&] { return standard_->accDoDefaultAction(child); },
                   [&](long id) { return source_->DoDefaultAction(id) ? S_OK : DISP_E_MEMBERNOTFOUND; });
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  ~WindowAccessible() = default;

  template <class Body>
  HRESULT Guard(Body&& body) {
    if (!source_ || !standard_ || !IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
    try {
      return body();
    } catch (...) {
      return E_FAIL;
    }
  }
  // Runs `self` for CHILDID_SELF and `element` for a child id in range.
  template <class Self, class Element>
  HRESULT OnChild(const VARIANT& child, Self&& self, Element&& element) {
    return Guard([&]() -> HRESULT {
      if (child.vt != VT_I4) return E_INVALIDARG;
      if (child.lVal == CHILDID_SELF) return self();
      if (child.lVal < 1 || child.lVal > source_->ChildCount()) return E_INVALIDARG;
      return element(child.lVal);
    });
  }
  template <class Use>
  HRESULT Describe(long id, Use&& use) {
    AccessibleChild c;
    if (!source_->DescribeChild(id, c)) return E_INVALIDARG;
    return use(c);
  }

  HWND window_;
  AccessibleSource* source_;     // the window's; null once disconnected
  ComPtr<IAccessible> standard_;  // the system's object for the window's client area
};

LRESULT AccessibleSlot::Answer(HWND window, WPARAM wparam, LPARAM lparam, AccessibleSource& source, bool& handled) {
  handled = false;
  if (static_cast<LONG>(static_cast<DWORD>(lparam)) != OBJID_CLIENT) return 0;
  try {
    const Oleacc& oleacc = LoadOleacc();
    if (!oleacc.create_std || !oleacc.lresult_from_object) return 0;
    if (object_ && object_->window() != window) Disconnect();  // the window was made anew
    if (!object_) {
      ComPtr<IAccessible> standard;
      if (FAILED(oleacc.create_std(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(standard.put()))) ||
          !standard) {
        return 0;
      }
      object_ = new WindowAccessible(window, &source, std::move(standard), count_);
    }
    const LRESULT result = oleacc.lresult_from_object(__uuidof(IAccessible), wparam, static_cast<IAccessible*>(object_));
    handled = result > 0;
    return handled ? result : 0;
  } catch (...) {
    return 0;
  }
}

void AccessibleSlot::Disconnect() {
  if (!object_) return;
  object_->Disconnect();
  std::exchange(object_, nullptr)->Release();
}

void NotifyAccessibleEvent(HWND window, DWORD event, long child) {
  if (window) NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

std::wstring LabelOf(HWND control) {
  std::wstring text;
  auto text_of = [](HWND w) {
    std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(w, t.data(), static_cast<int>(t.size()))));
    return t;
  };
  if (HWND before = GetWindow(control, GW_HWNDPREV)) {
    wchar_t cls[16]{};
    GetClassNameW(before, cls, 16);
    const LONG_PTR style = GetWindowLongPtrW(before, GWL_STYLE);
    const bool is_static = lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
    const bool is_group = lstrcmpiW(cls, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
    if (is_static || is_group) {
      text = text_of(before);
      // A label drawn without prefixes shows its "&" as written.
      if (!(is_static && (style & SS_NOPREFIX))) text = Utf8ToWide(WithoutMnemonic(WideToUtf8(text)));
    }
  }
  if (text.empty()) text = Utf8ToWide(WithoutMnemonic(WideToUtf8(text_of(control))));
  return text;
}

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

namespace {

// The rows of a check-box list view, for screen readers that find no check state in the
// system's own description of the list (Wine has none at all).
class CheckListSource final : public AccessibleSource {
public:
  explicit CheckListSource(HWND list) : list_(list) {}
  AccessibleSlot slot;

  long AccessibleRole() override { return ROLE_SYSTEM_LIST; }
  std::wstring AccessibleName() override { return LabelOf(list_); }
  long ChildCount() override { return static_cast<long>(ListView_GetItemCount(list_)); }
  bool DescribeChild(long id, AccessibleChild& out) override {
    const int row = static_cast<int>(id - 1);
    if (row < 0 || row >= ListView_GetItemCount(list_)) return false;
    wchar_t text[512]{};
    ListView_GetItemText(list_, row, 0, text, 512);
    out.name = text;
    out.role = ROLE_SYSTEM_CHECKBUTTON;
    out.help = Utf8ToWide(ItemPositionText(id, ChildCount()));
    out.default_action = ListView_GetCheckState(list_, row) ? L"オフにする" : L"オンにする";
    const UINT states = ListView_GetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED);
    out.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (ListView_GetCheckState(list_, row)) out.state |= STATE_SYSTEM_CHECKED;
    if (states & LVIS_SELECTED) out.state |= STATE_SYSTEM_SELECTED;
    if ((states & LVIS_FOCUSED) && GetFocus() == list_) out.state |= STATE_SYSTEM_FOCUSED;
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    if (SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r))) {
      RECT client{};
      GetClientRect(list_, &client);
      RECT shown{};
      if (!IntersectRect(&shown, &r, &client)) out.state |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
      MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&r), 2);
      out.screen = r;
    }
    return true;
  }
  long FocusedChild() override { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED) + 1; }
  long SelectedChild() override { return ListView_GetNextItem(list_, -1, LVNI_SELECTED) + 1; }
  bool DoDefaultAction(long id) override {
    const int row = static_cast<int>(id - 1);
    ListView_SetCheckState(list_, row, !ListView_GetCheckState(list_, row));
    return true;
  }
  bool SelectChild(long id, long flags) override {
    const int row = static_cast<int>(id - 1);
    if (flags & SELFLAG_TAKEFOCUS) SetFocus(list_);
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS))
      ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return true;
  }

private:
  HWND list_;
};

LRESULT CALLBACK CheckListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
  auto* source = reinterpret_cast<CheckListSource*>(data);
  if (message == WM_GETOBJECT) {
    bool handled = false;
    const LRESULT result = source->slot.Answer(list, wparam, lparam, *source, handled);
    if (handled) return result;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, CheckListProc, id);
    delete source;  // disconnects the object a client may still hold
  } else if (message == LVM_SETITEMSTATE || message == WM_KEYDOWN || message == WM_LBUTTONDOWN ||
             message == WM_LBUTTONDBLCLK) {
    // A check mark set or cleared, by the user or the program: a screen reader says so.
    std::vector<bool> before;
    for (int row = 0, n = ListView_GetItemCount(list); row < n; ++row) before.push_back(ListView_GetCheckState(list, row));
    const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
    for (int row = 0, n = ListView_GetItemCount(list); row < n && row < static_cast<int>(before.size()); ++row)
      if (before[static_cast<std::size_t>(row)] != (ListView_GetCheckState(list, row) != 0))
        NotifyAccessibleEvent(list, EVENT_OBJECT_STATECHANGE, row + 1);
    return result;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

void DescribeCheckList(HWND list_view) {
  if (!list_view) return;
  auto* source = new CheckListSource(list_view);
  if (!SetWindowSubclass(list_view, CheckListProc, 1, reinterpret_cast<DWORD_PTR>(source))) delete source;
}

}  // namespace orv
