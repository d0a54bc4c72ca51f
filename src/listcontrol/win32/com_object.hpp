#pragma once
// What every COM object of the library shares: the creator's reference, deletion at the last
// Release, the module's count of live objects behind DllCanUnloadNow, and QueryInterface for
// IUnknown and the object's own interface. Objects with more interfaces answer them in their
// own QueryInterface and fall back to this one.
#include <windows.h>
#include <unknwn.h>

#include "listcontrol/win32/module.hpp"

namespace orv::pickvane {

template <class Interface>
class ComObject : public Interface {
public:
  explicit ComObject(REFIID iid) : iid_(iid) { ObjectCreated(); }
  virtual ~ComObject() { ObjectDestroyed(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = (riid == IID_IUnknown || riid == iid_) ? static_cast<Interface*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

protected:
  REFIID Iid() const { return iid_; }

private:
  const IID iid_;
  LONG refs_ = 1;  // the creator's reference
};

}  // namespace orv::pickvane
