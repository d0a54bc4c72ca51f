#pragma once
// The common part of every automation object of the library: ComObject's counting and
// QueryInterface (IUnknown, IDispatch, the object's interface), ISupportErrorInfo, and
// IDispatch served from the type library (names and dispatch identifiers both work).
// A derived class answers further interfaces in QueryMore.
#include <windows.h>
#include <oaidl.h>

#include <type_traits>

#include "listcontrol/win32/com_object.hpp"
#include "listcontrol/win32/module.hpp"

namespace orv::pickvane {

template <class Derived, class Interface>
class DispatchObject : public ComObject<Interface>, public ISupportErrorInfo {
  static_assert(std::is_base_of_v<IDispatch, Interface>, "ComObject answers IDispatch only for a dispatch interface");

public:
  explicit DispatchObject(REFIID iid) : ComObject<Interface>(iid), type_info_(TypeInfoOf(iid)) {}

  // One QueryInterface for both bases.
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return ComObject<Interface>::QueryInterface(riid, out); }
  // One count for both bases.
  STDMETHODIMP_(ULONG) AddRef() override { return ComObject<Interface>::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return ComObject<Interface>::Release(); }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = type_info_ ? 1 : 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !type_info_) return DISP_E_BADINDEX;
    *info = ComPtr<ITypeInfo>(type_info_).detach();
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!type_info_) return E_UNEXPECTED;
    return DispGetIDsOfNames(type_info_.get(), names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* arg_error) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!type_info_) return E_UNEXPECTED;
    const HRESULT hr = DispInvoke(static_cast<Interface*>(this), type_info_.get(), id, flags, params, result,
                                  exception, arg_error);
    // Our own errors go back as exceptions with their number and text, whatever the
    // platform's dispatcher made of them.
    if (FAILED(hr) && DescriptionOf(hr)) {
      if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = hr;
        exception->bstrSource = SysAllocString(L"KestrovePickvane");
        exception->bstrDescription = SysAllocString(DescriptionOf(hr));
      }
      return DISP_E_EXCEPTION;
    }
    return hr;
  }

  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override { return riid == this->Iid() ? S_OK : S_FALSE; }

  // Further interfaces of the derived object, or nullptr.
  void* QueryMore(REFIID) { return nullptr; }

protected:
  void* OtherInterface(REFIID riid) override {
    if (riid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
    return static_cast<Derived*>(this)->QueryMore(riid);
  }

private:
  ComPtr<ITypeInfo> type_info_;
};

}  // namespace orv::pickvane
