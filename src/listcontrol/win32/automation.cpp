#include "listcontrol/win32/automation.hpp"

#include <olectl.h>

#include <new>
#include <string>

#include "platform/win32/ole_picture.hpp"
#include "platform/win32/wide.hpp"

namespace orv::pickvane {
namespace {

// Asks an items wrapper for itself, so a collection handed back through SelectItems can be
// recognised as one of ours. Not in the type library: only this file uses it.
const IID kItemsObjectIid = {0x351b3a4f, 0x2485, 0x4ef0, {0xbc, 0x2f, 0x2d, 0x5d, 0x77, 0x80, 0x1a, 0xed}};

std::string FromBstr(BSTR text) { return WideToUtf8(std::wstring_view(text ? text : L"", SysStringLen(text))); }

HRESULT ToBstr(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  const std::wstring wide = Utf8ToWide(text);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsMissing(const VARIANT& v) {
  return V_VT(&v) == VT_EMPTY || (V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND);
}

// The text of an optional argument ("" when left out).
HRESULT OptionalText(const VARIANT& arg, std::string* text) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&arg)))) return Fail(kTypeMismatch);
  HRESULT hr = S_OK;
  if (IsMissing(v) || V_VT(&v) == VT_NULL) {
    text->clear();
  } else if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_BSTR))) {
    *text = FromBstr(V_BSTR(&v));
  } else {
    hr = Fail(kTypeMismatch);
  }
  VariantClear(&v);
  return hr;
}

// The picture of an optional argument (none when left out or Nothing).
HRESULT OptionalPicture(const VARIANT& arg, std::shared_ptr<const Picture>* picture) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&arg)))) return Fail(kTypeMismatch);
  HRESULT hr = S_OK;
  picture->reset();
  if (V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) {
    IUnknown* unknown = V_VT(&v) == VT_DISPATCH ? V_DISPATCH(&v) : V_UNKNOWN(&v);
    if (unknown) {
      ComPtr<IPicture> ole;
      if (SUCCEEDED(unknown->QueryInterface(IID_IPicture, reinterpret_cast<void**>(ole.put())))) {
        *picture = std::make_shared<OlePicture>(ole.get());
      } else {
        hr = Fail(kTypeMismatch);
      }
    }
  } else if (!IsMissing(v) && V_VT(&v) != VT_NULL) {
    hr = Fail(kTypeMismatch);
  }
  VariantClear(&v);
  return hr;
}

// Makes a T and hands its creation reference to the caller as `Out`.
template <class T, class Out, class... Args>
HRESULT Hand(Out** out, Args&&... args) {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* object = new (std::nothrow) T(std::forward<Args>(args)...);
  if (!object) return E_OUTOFMEMORY;
  *out = object;  // the creator's reference goes to the caller
  return S_OK;
}

// Runs `body` and turns anything thrown into an HRESULT: nothing leaves a COM method.
template <class Body>
HRESULT Guard(Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// An enumerator over a snapshot, for the enumerator interfaces that share the Next, Skip,
// Reset and Clone shape. `Element` is what the caller receives; `Hand` makes one from a stored
// value (the caller owns the references it holds) and `Clear` gives them back when a Next
// fails half way.
template <class IEnum, class Element, class Stored, HRESULT (*HandOut)(const Stored&, Element*),
          void (*Clear)(Element*)>
class SnapshotEnumerator final : public ComObject<IEnum> {
public:
  SnapshotEnumerator(REFIID iid, std::vector<Stored> stored, std::size_t next)
      : ComObject<IEnum>(iid), stored_(std::move(stored)), next_(next) {}

  STDMETHODIMP Next(ULONG wanted, Element* out, ULONG* fetched) override {
    return Guard([&]() -> HRESULT {
      if (!out || (!fetched && wanted != 1)) return E_POINTER;
      ULONG n = 0;
      for (; n < wanted && next_ < stored_.size(); ++n, ++next_) {
        if (HRESULT hr = HandOut(stored_[next_], &out[n]); FAILED(hr)) {
          for (ULONG i = 0; i < n; ++i) Clear(&out[i]);
          if (fetched) *fetched = 0;
          return hr;
        }
      }
      if (fetched) *fetched = n;
      return n == wanted ? S_OK : S_FALSE;
    });
  }
  STDMETHODIMP Skip(ULONG count) override {
    const std::size_t left = stored_.size() - next_;
    next_ += std::min<std::size_t>(left, count);
    return count <= left ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnum** out) override {
    return Guard([&] { return Hand<SnapshotEnumerator>(out, this->Iid(), stored_, next_); });
  }

private:
  std::vector<Stored> stored_;
  std::size_t next_;
};

// The items, each as a new SelectItem wrapper.
HRESULT HandItem(const std::shared_ptr<SelectItem>& item, VARIANT* out) {
  VariantInit(out);
  _SelectItem* wrapper = nullptr;
  if (HRESULT hr = Hand<ItemObject>(&wrapper, item); FAILED(hr)) return hr;
  V_VT(out) = VT_DISPATCH;
  V_DISPATCH(out) = wrapper;
  return S_OK;
}
void ClearVariant(VARIANT* v) { VariantClear(v); }
using ItemEnumerator =
    SnapshotEnumerator<IEnumVARIANT, VARIANT, std::shared_ptr<SelectItem>, HandItem, ClearVariant>;

// The control's connection points.
HRESULT HandPoint(const ComPtr<IConnectionPoint>& point, IConnectionPoint** out) {
  *out = ComPtr<IConnectionPoint>(point).detach();
  return S_OK;
}
void ClearPoint(IConnectionPoint** point) {
  if (*point) (*point)->Release();
  *point = nullptr;
}
using PointEnumerator =
    SnapshotEnumerator<IEnumConnectionPoints, IConnectionPoint*, ComPtr<IConnectionPoint>, HandPoint, ClearPoint>;

// A connection point's sinks, each with its cookie.
struct Connection {
  DWORD cookie;
  ComPtr<IUnknown> sink;
};
HRESULT HandConnection(const Connection& connection, CONNECTDATA* out) {
  out->pUnk = ComPtr<IUnknown>(connection.sink).detach();
  out->dwCookie = connection.cookie;
  return S_OK;
}
void ClearConnection(CONNECTDATA* data) {
  if (data->pUnk) data->pUnk->Release();
  data->pUnk = nullptr;
}
using ConnectionEnumerator =
    SnapshotEnumerator<IEnumConnections, CONNECTDATA, Connection, HandConnection, ClearConnection>;

}  // namespace

HRESULT CreatePickvane(REFIID riid, void** out) {
  return Guard([&]() -> HRESULT {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* object = new (std::nothrow) PickvaneObject();
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  });
}

// ---- SelectItem

ItemObject::ItemObject(std::shared_ptr<SelectItem> item) : DispatchObject(IID__SelectItem), item_(std::move(item)) {}

STDMETHODIMP ItemObject::get_Key(BSTR* value) {
  return Guard([&] { return ToBstr(item_->Key, value); });
}
STDMETHODIMP ItemObject::put_Key(BSTR value) {
  return Guard([&] {
    item_->Key = FromBstr(value);
    return S_OK;
  });
}
STDMETHODIMP ItemObject::get_Caption(BSTR* value) {
  return Guard([&] { return ToBstr(item_->Caption, value); });
}
STDMETHODIMP ItemObject::put_Caption(BSTR value) {
  return Guard([&] {
    item_->Caption = FromBstr(value);
    return S_OK;
  });
}
STDMETHODIMP ItemObject::get_Comment(BSTR* value) {
  return Guard([&] { return ToBstr(item_->Comment, value); });
}
STDMETHODIMP ItemObject::put_Comment(BSTR value) {
  return Guard([&] {
    item_->Comment = FromBstr(value);
    return S_OK;
  });
}
STDMETHODIMP ItemObject::get_IconPicture(IPictureDisp** value) {
  if (!value) return E_POINTER;
  *value = nullptr;
  auto* ole = dynamic_cast<const OlePicture*>(item_->IconPicture.get());
  if (!ole || !ole->picture()) return S_OK;  // Nothing
  return ole->picture()->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(value));
}
STDMETHODIMP ItemObject::putref_IconPicture(IPictureDisp* value) {
  return Guard([&]() -> HRESULT {
    if (!value) {
      item_->IconPicture.reset();
      return S_OK;
    }
    ComPtr<IPicture> picture;
    if (FAILED(value->QueryInterface(IID_IPicture, reinterpret_cast<void**>(picture.put())))) {
      return Fail(kTypeMismatch);
    }
    item_->IconPicture = std::make_shared<OlePicture>(picture.get());
    return S_OK;
  });
}

// ---- SelectItems

ItemsObject::ItemsObject(std::shared_ptr<SelectItems> items)
    : DispatchObject(IID__SelectItems), items_(std::move(items)) {}

void* ItemsObject::QueryMore(REFIID riid) { return riid == kItemsObjectIid ? static_cast<_SelectItems*>(this) : nullptr; }

HRESULT ItemsObject::Resolve(const VARIANT& index_or_key, std::int64_t* position) const {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&index_or_key)))) return Fail(kTypeMismatch);
  HRESULT hr = S_OK;
  if (V_VT(&v) == VT_BSTR) {
    *position = items_->PositionOf(FromBstr(V_BSTR(&v)));
    if (*position == 0) hr = Fail(kInvalidCall);
  } else if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4))) {
    *position = V_I4(&v);
    if (*position < 1 || *position > items_->Count()) hr = Fail(kOutOfRange);
  } else {
    hr = Fail(kTypeMismatch);
  }
  VariantClear(&v);
  return hr;
}

STDMETHODIMP ItemsObject::Add(BSTR key, VARIANT caption, VARIANT comment, VARIANT icon, _SelectItem** item) {
  return Guard([&]() -> HRESULT {
    if (!item) return E_POINTER;
    *item = nullptr;
    std::string caption_text, comment_text;
    std::shared_ptr<const Picture> picture;
    if (HRESULT hr = OptionalText(caption, &caption_text); FAILED(hr)) return hr;
    if (HRESULT hr = OptionalText(comment, &comment_text); FAILED(hr)) return hr;
    if (HRESULT hr = OptionalPicture(icon, &picture); FAILED(hr)) return hr;
    auto added = items_->Add(FromBstr(key), std::move(caption_text), std::move(comment_text), std::move(picture));
    if (!added) return Fail(kDuplicateKey);
    return Hand<ItemObject>(item, std::move(added));
  });
}

STDMETHODIMP ItemsObject::Item(VARIANT index_or_key, _SelectItem** item) {
  return Guard([&]() -> HRESULT {
    if (!item) return E_POINTER;
    *item = nullptr;
    std::int64_t position = 0;
    if (HRESULT hr = Resolve(index_or_key, &position); FAILED(hr)) return hr;
    return Hand<ItemObject>(item, items_->At(position));
  });
}

STDMETHODIMP ItemsObject::get_Count(LONG* count) {
  if (!count) return E_POINTER;
  *count = static_cast<LONG>(items_->Count());
  return S_OK;
}

STDMETHODIMP ItemsObject::Remove(VARIANT index_or_key) {
  return Guard([&]() -> HRESULT {
    std::int64_t position = 0;
    if (HRESULT hr = Resolve(index_or_key, &position); FAILED(hr)) return hr;
    items_->RemoveAt(position);
    return S_OK;
  });
}

STDMETHODIMP ItemsObject::get_NewEnum(IUnknown** enumerator) {
  return Guard([&]() -> HRESULT {
    if (!enumerator) return E_POINTER;
    std::vector<std::shared_ptr<SelectItem>> snapshot;
    snapshot.reserve(static_cast<std::size_t>(items_->Count()));
    for (std::int64_t i = 1; i <= items_->Count(); ++i) snapshot.push_back(items_->At(i));
    IEnumVARIANT* e = nullptr;
    HRESULT hr = Hand<ItemEnumerator>(&e, IID_IEnumVARIANT, std::move(snapshot), std::size_t{0});
    *enumerator = e;
    return hr;
  });
}

// ---- events

EventPoint::EventPoint(PickvaneObject* container) : ComObject(IID_IConnectionPoint), container_(container) {}

STDMETHODIMP EventPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID___Pickvane;
  return S_OK;
}
STDMETHODIMP EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = nullptr;
  if (!container_) return E_UNEXPECTED;
  return container_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container));
}
STDMETHODIMP EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
  return Guard([&]() -> HRESULT {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> target;
    if (FAILED(sink->QueryInterface(DIID___Pickvane, reinterpret_cast<void**>(target.put()))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(target.put())))) {
      return CONNECT_E_CANNOTCONNECT;
    }
    ComPtr<IUnknown> identity;  // what the sink is, as its enumeration reports it
    sink->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.put()));
    sinks_.push_back({next_cookie_, std::move(target), std::move(identity)});
    *cookie = next_cookie_++;
    return S_OK;
  });
}
STDMETHODIMP EventPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie == cookie) {
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}
STDMETHODIMP EventPoint::EnumConnections(IEnumConnections** connections) {
  return Guard([&]() -> HRESULT {
    if (!connections) return E_POINTER;
    std::vector<Connection> snapshot;
    for (const auto& sink : sinks_) snapshot.push_back({sink.cookie, sink.identity});
    return Hand<ConnectionEnumerator>(connections, IID_IEnumConnections, std::move(snapshot), std::size_t{0});
  });
}

void EventPoint::Fire(DISPID event) {
  // A sink may unadvise (or release the control) while it is called: work on a copy.
  const std::vector<Sink> sinks = sinks_;
  for (const auto& sink : sinks) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    sink.target->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  }
}

// ---- Pickvane

PickvaneObject::PickvaneObject()
    : DispatchObject(IID__Pickvane), canvas_(0, 0), model_(canvas_), events_(ComPtr<EventPoint>::Adopt(new EventPoint(this))) {}

PickvaneObject::~PickvaneObject() {
  window_.reset();
  events_->DetachContainer();
}

void* PickvaneObject::QueryMore(REFIID riid) {
  if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2) return static_cast<IProvideClassInfo2*>(this);
  if (riid == IID_IPickvaneWindow) return static_cast<IPickvaneWindow*>(this);
  return nullptr;
}

void PickvaneObject::ShowState() {
  if (window_) window_->ShowState();
}

void PickvaneObject::Fire(DISPID event) {
  ComPtr<PickvaneObject> keep(this);  // a sink may release the host's last reference
  ComPtr<EventPoint> events = events_;
  events->Fire(event);
}

STDMETHODIMP PickvaneObject::get_SelectItems(_SelectItems** items) {
  return Guard([&] { return Hand<ItemsObject>(items, model_.ItemsShared()); });
}

STDMETHODIMP PickvaneObject::putref_SelectItems(_SelectItems* items) {
  return Guard([&]() -> HRESULT {
    if (!items) {
      model_.SetItems(nullptr);  // a new empty collection on next use
      return S_OK;
    }
    _SelectItems* ours = nullptr;
    if (FAILED(items->QueryInterface(kItemsObjectIid, reinterpret_cast<void**>(&ours)))) return Fail(kTypeMismatch);
    model_.SetItems(static_cast<ItemsObject*>(ours)->items());
    ours->Release();
    return S_OK;
  });
}

STDMETHODIMP PickvaneObject::Refresh() {
  return Guard([&] {
    model_.Refresh();
    ShowState();
    return S_OK;
  });
}

STDMETHODIMP PickvaneObject::get_Selected(short* value) {
  if (!value) return E_POINTER;
  const std::int64_t selected = model_.Selected();
  // Rows past 32767 can be selected with the mouse and keys, but not named as an Integer.
  if (selected < SHRT_MIN || selected > SHRT_MAX) return Fail(kOverflow);
  *value = static_cast<short>(selected);
  return S_OK;
}

STDMETHODIMP PickvaneObject::put_Selected(short value) {
  return Guard([&] {
    model_.SetSelected(value);
    ShowState();
    return S_OK;
  });
}

STDMETHODIMP PickvaneObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
  return Guard([&]() -> HRESULT {
    if (!points) return E_POINTER;
    std::vector<ComPtr<IConnectionPoint>> all{ComPtr<IConnectionPoint>(events_.get())};
    return Hand<PointEnumerator>(points, IID_IEnumConnectionPoints, std::move(all), std::size_t{0});
  });
}

STDMETHODIMP PickvaneObject::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (riid != DIID___Pickvane) return CONNECT_E_NOCONNECTION;
  *point = ComPtr<EventPoint>(events_).detach();
  return S_OK;
}

STDMETHODIMP PickvaneObject::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = TypeInfoOf(CLSID_Pickvane).detach();
  return *info ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP PickvaneObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  *guid = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID___Pickvane;
  return S_OK;
}

STDMETHODIMP PickvaneObject::Create(HWND parent, int x, int y, int width, int height, HWND* window) {
  return Guard([&]() -> HRESULT {
    if (window) *window = nullptr;
    if (!parent || !IsWindow(parent)) return E_INVALIDARG;
    window_.reset();
    ControlWindowArgs args;
    args.parent = parent;
    args.place = RECT{x, y, x + width, y + height};
    args.model = &model_;
    args.canvas = &canvas_;
    args.on_click = [this] { Fire(2); };
    args.on_dblclick = [this] { Fire(1); };
    window_ = ControlWindow::Create(std::move(args));
    if (!window_) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_INVALID_WINDOW_HANDLE);
    if (window) *window = window_->hwnd();
    return S_OK;
  });
}

STDMETHODIMP PickvaneObject::Move(int x, int y, int width, int height) {
  if (!window_) return E_UNEXPECTED;
  return Guard([&] {
    window_->Move(RECT{x, y, x + width, y + height});
    return S_OK;
  });
}

STDMETHODIMP PickvaneObject::Destroy() {
  return Guard([&] {
    window_.reset();
    return S_OK;
  });
}

}  // namespace orv::pickvane
