#include "listcontrol/host/pickvane_host.hpp"

#include <new>
#include <vector>

#include "KestrovePickvane_h.h"
#include "platform/win32/com_object.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

constexpr const wchar_t* kProgId = L"KestrovePickvane.Pickvane";
constexpr const wchar_t* kLibraryName = L"KestrovePickvane.dll";

// A VARIANT owner for arguments and results.
struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  explicit Variant(std::string_view text) : Variant() {
    const std::wstring wide = Utf8ToWide(text);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  explicit Variant(std::int32_t number) : Variant() {
    V_VT(&v) = VT_I4;
    V_I4(&v) = number;
  }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

DISPID IdOf(IDispatch* target, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (!target || FAILED(target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
  return id;
}

// Calls a member; `args` in the order of the declaration.
HRESULT Call(IDispatch* target, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  if (!target || id == DISPID_UNKNOWN) return DISP_E_MEMBERNOTFOUND;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());  // IDispatch wants the last first
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  DISPID named = DISPID_PROPERTYPUT;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  const HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

ComPtr<IDispatch> DispatchOf(Variant& value) {
  if (V_VT(&value.v) != VT_DISPATCH || !V_DISPATCH(&value.v)) return {};
  return ComPtr<IDispatch>(V_DISPATCH(&value.v));
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

}  // namespace

// Receives the control's events and hands them to the host's handlers.
class PickvaneHost::EventSink final : public UntypedDispatch<IDispatch> {
public:
  explicit EventSink(PickvaneHost* host) : UntypedDispatch(DIID___Pickvane), host_(host) {}
  void Detach() { host_ = nullptr; }

  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    try {
      if (!host_) return S_OK;
      const auto& handler = id == kDblClick ? host_->on_dblclick_ : id == kClick ? host_->on_click_ : none_;
      if (handler) handler();
    } catch (...) {
      // A handler's failure must not travel back into the control.
    }
    return S_OK;
  }

private:
  PickvaneHost* host_;  // not owned; cleared when the host goes
  std::function<void()> none_;
};

std::unique_ptr<PickvaneHost> PickvaneHost::Create() {
  CLSID clsid{};
  if (SUCCEEDED(CLSIDFromProgID(kProgId, &clsid))) {
    std::unique_ptr<PickvaneHost> host(new PickvaneHost());
    if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(host->control_.put())))) {
      host->source_ = Source::Registered;
      return Finish(std::move(host));
    }
  }
  return CreateFromProgramFolder();
}

std::unique_ptr<PickvaneHost> PickvaneHost::CreateFromProgramFolder() {
  const std::wstring folder = ProgramFolder();
  if (folder.empty()) return nullptr;
  std::unique_ptr<PickvaneHost> host(new PickvaneHost());
  host->source_ = Source::ProgramFolder;
  // A full path: the search path is never consulted, so no other copy can be picked up.
  host->library_.reset(LoadLibraryExW((folder + kLibraryName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!host->library_) return nullptr;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get_class_object =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(host->library_.get(), "DllGetClassObject")));
  if (!get_class_object) return nullptr;
  ComPtr<IClassFactory> factory;
  if (FAILED(get_class_object(CLSID_Pickvane, IID_IClassFactory, reinterpret_cast<void**>(factory.put())))) {
    return nullptr;
  }
  if (FAILED(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(host->control_.put())))) {
    return nullptr;
  }
  return Finish(std::move(host));
}

std::unique_ptr<PickvaneHost> PickvaneHost::Finish(std::unique_ptr<PickvaneHost> host) {
  auto container = host->control_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (container && SUCCEEDED(container->FindConnectionPoint(DIID___Pickvane, host->events_.put()))) {
    auto* sink = new (std::nothrow) EventSink(host.get());
    if (sink) {
      if (FAILED(host->events_->Advise(sink, &host->cookie_))) host->events_.reset();
      sink->Release();
    }
  }
  return host;
}

PickvaneHost::~PickvaneHost() {
  if (events_) {
    // The control drops its reference to the sink on Unadvise; tell the sink first in case
    // something still holds it.
    events_->Unadvise(cookie_);
    events_.reset();
  }
  if (control_) {
    if (auto window = control_.As<IPickvaneWindow>(IID_IPickvaneWindow)) window->Destroy();
  }
  control_.reset();
  if (library_) {
    // Free the library only when nothing of it is alive any more; otherwise keep it loaded
    // rather than pull code from under live objects.
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    auto can_unload =
        reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library_.get(), "DllCanUnloadNow")));
    if (!can_unload || can_unload() != S_OK) library_.release();
  }
}

bool PickvaneHost::PlaceIn(HWND parent, const RECT& place) {
  auto window = control_.As<IPickvaneWindow>(IID_IPickvaneWindow);
  if (!window) return false;
  HWND created = nullptr;
  if (FAILED(window->Create(parent, place.left, place.top, place.right - place.left, place.bottom - place.top,
                            &created))) {
    return false;
  }
  window_ = created;
  return true;
}

ComPtr<IDispatch> PickvaneHost::Items() {
  Variant result;
  if (FAILED(Call(control_.get(), kSelectItems, DISPATCH_PROPERTYGET, {}, &result.v))) return {};
  return DispatchOf(result);
}

bool PickvaneHost::AddItem(std::string_view key, std::string_view caption, std::string_view comment, IUnknown* icon) {
  auto items = Items();
  Variant k(key), c(caption), m(comment), picture, result;
  if (icon) {
    V_VT(&picture.v) = VT_UNKNOWN;
    V_UNKNOWN(&picture.v) = icon;
    icon->AddRef();
  } else {
    V_VT(&picture.v) = VT_ERROR;
    V_ERROR(&picture.v) = DISP_E_PARAMNOTFOUND;
  }
  return SUCCEEDED(Call(items.get(), IdOf(items.get(), L"Add"), DISPATCH_METHOD, {k.v, c.v, m.v, picture.v}, &result.v));
}

std::optional<std::int32_t> PickvaneHost::Count() {
  auto items = Items();
  Variant result;
  if (FAILED(Call(items.get(), IdOf(items.get(), L"Count"), DISPATCH_PROPERTYGET, {}, &result.v)) ||
      FAILED(VariantChangeType(&result.v, &result.v, 0, VT_I4))) {
    return std::nullopt;
  }
  return V_I4(&result.v);
}

std::optional<std::string> PickvaneHost::KeyAt(std::int32_t position) { return ItemText(position, L"Key"); }

std::optional<std::string> PickvaneHost::CaptionAt(std::int32_t position) { return ItemText(position, L"Caption"); }

std::optional<std::string> PickvaneHost::ItemText(std::int32_t position, const wchar_t* member) {
  auto items = Items();
  Variant index(position), item_result, text;
  if (FAILED(Call(items.get(), IdOf(items.get(), L"Item"), DISPATCH_METHOD | DISPATCH_PROPERTYGET, {index.v},
                  &item_result.v))) {
    return std::nullopt;
  }
  auto item = DispatchOf(item_result);
  if (FAILED(Call(item.get(), IdOf(item.get(), member), DISPATCH_PROPERTYGET, {}, &text.v)) ||
      V_VT(&text.v) != VT_BSTR) {
    return std::nullopt;
  }
  return WideToUtf8(std::wstring_view(V_BSTR(&text.v), SysStringLen(V_BSTR(&text.v))));
}

std::optional<std::int16_t> PickvaneHost::Selected() {
  Variant result;
  if (FAILED(Call(control_.get(), kSelected, DISPATCH_PROPERTYGET, {}, &result.v)) ||
      FAILED(VariantChangeType(&result.v, &result.v, 0, VT_I2))) {
    return std::nullopt;
  }
  return V_I2(&result.v);
}

bool PickvaneHost::SetSelected(std::int16_t value) {
  Variant v;
  V_VT(&v.v) = VT_I2;
  V_I2(&v.v) = value;
  return SUCCEEDED(Call(control_.get(), kSelected, DISPATCH_PROPERTYPUT, {v.v}, nullptr));
}

bool PickvaneHost::Refresh() { return SUCCEEDED(Call(control_.get(), kRefresh, DISPATCH_METHOD, {}, nullptr)); }

}  // namespace orv
