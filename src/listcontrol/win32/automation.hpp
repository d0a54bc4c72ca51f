#pragma once
// The automation objects of the library: the control Pickvane, its item collection
// SelectItems, the items SelectItem, the enumerators and the event connection point.
// Every method catches at the COM boundary; nothing throws out of this file.
#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <vector>

#include "KestrovePickvane_h.h"
#include "listcontrol/pickvane_model.hpp"
#include "listcontrol/win32/com_object.hpp"
#include "listcontrol/win32/control_window.hpp"
#include "listcontrol/win32/dispatch_object.hpp"
#include "platform/win32/gdi_canvas.hpp"

namespace orv::pickvane {

// Creates a new control object and returns the interface `riid` of it.
HRESULT CreatePickvane(REFIID riid, void** out);

class ItemObject final : public DispatchObject<ItemObject, _SelectItem> {
public:
  explicit ItemObject(std::shared_ptr<SelectItem> item);
  STDMETHODIMP get_Key(BSTR* value) override;
  STDMETHODIMP put_Key(BSTR value) override;
  STDMETHODIMP get_Caption(BSTR* value) override;
  STDMETHODIMP put_Caption(BSTR value) override;
  STDMETHODIMP get_Comment(BSTR* value) override;
  STDMETHODIMP put_Comment(BSTR value) override;
  STDMETHODIMP get_IconPicture(IPictureDisp** value) override;
  STDMETHODIMP putref_IconPicture(IPictureDisp* value) override;

private:
  std::shared_ptr<SelectItem> item_;  // shared with the collection
};

class ItemsObject final : public DispatchObject<ItemsObject, _SelectItems> {
public:
  explicit ItemsObject(std::shared_ptr<SelectItems> items);
  void* QueryMore(REFIID riid);
  STDMETHODIMP Add(BSTR key, VARIANT caption, VARIANT comment, VARIANT icon, _SelectItem** item) override;
  STDMETHODIMP Item(VARIANT index_or_key, _SelectItem** item) override;
  STDMETHODIMP get_Count(LONG* count) override;
  STDMETHODIMP Remove(VARIANT index_or_key) override;
  STDMETHODIMP get_NewEnum(IUnknown** enumerator) override;
  const std::shared_ptr<SelectItems>& items() const { return items_; }

private:
  // The position `index_or_key` names (by number or by key), or a failure HRESULT.
  HRESULT Resolve(const VARIANT& index_or_key, std::int64_t* position) const;
  std::shared_ptr<SelectItems> items_;  // shared with the control (and other wrappers)
};

class PickvaneObject;

// The one connection point of the control: the event interface, to IDispatch sinks.
class EventPoint final : public ComObject<IConnectionPoint> {
public:
  explicit EventPoint(PickvaneObject* container);

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  void Fire(DISPID event);
  void DetachContainer() { container_ = nullptr; }

private:
  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> target;  // what the events are sent to
    ComPtr<IUnknown> identity;  // the object that was advised
  };
  PickvaneObject* container_;  // not owned; cleared when the control goes
  std::vector<Sink> sinks_;
  DWORD next_cookie_ = 1;
};

class PickvaneObject final : public DispatchObject<PickvaneObject, _Pickvane>,
                             public IConnectionPointContainer,
                             public IProvideClassInfo2,
                             public IPickvaneWindow {
public:
  PickvaneObject();
  ~PickvaneObject() override;
  void* QueryMore(REFIID riid);

  // _Pickvane
  STDMETHODIMP get_SelectItems(_SelectItems** items) override;
  STDMETHODIMP putref_SelectItems(_SelectItems* items) override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP get_Selected(short* value) override;
  STDMETHODIMP put_Selected(short value) override;
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;
  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;
  // IPickvaneWindow
  STDMETHODIMP Create(HWND parent, int x, int y, int width, int height, HWND* window) override;
  STDMETHODIMP Move(int x, int y, int width, int height) override;
  STDMETHODIMP Destroy() override;

  // IUnknown, shared by every interface of the object.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return Base::QueryInterface(riid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }

private:
  using Base = DispatchObject<PickvaneObject, _Pickvane>;
  void Fire(DISPID event);
  void ShowState();

  GdiCanvas canvas_;  // the retained picture of the rows; exists without a window
  PickvaneModel model_;
  ComPtr<EventPoint> events_;
  std::unique_ptr<ControlWindow> window_;  // while placed in a host window
};

}  // namespace orv::pickvane
