#pragma once
// The IUnknown every COM object of ours shares, for the program and for the list control
// library alike (header-only, so the library takes no code of the program with it):
//  - one reference, the creator's, at construction; deletion at the last Release;
//  - QueryInterface for IUnknown, the object's own interface and, when that interface is a
//    dispatch interface, IDispatch; an object with more interfaces answers them in
//    OtherInterface;
//  - an optional count of live objects, which a DLL keeps for DllCanUnloadNow.
// None of these methods can throw; derived objects keep their own methods exception-free.
//
// COM interfaces have no virtual destructors by definition: an object is deleted through
// this class's virtual destructor in Release, never through an interface pointer. (An object
// that adds interfaces as further bases says so to the compiler itself.)
#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>

#include <type_traits>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

namespace orv {

// Calls that let a module count its live objects; either may be null.
struct LiveObjectCount {
  void (*created)() = nullptr;
  void (*destroyed)() = nullptr;
};

template <class Interface>
class ComObject : public Interface {
public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == iid_ || (std::is_base_of_v<IDispatch, Interface> && riid == IID_IDispatch))
      *out = static_cast<Interface*>(this);
    else
      *out = OtherInterface(riid);
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
  // `iid`: the object's own interface, which need not be Interface's (a dispatch interface
  // served through IDispatch, one of several enumerator interfaces).
  explicit ComObject(REFIID iid, LiveObjectCount count = {}) : iid_(iid), count_(count) {
    if (count_.created) count_.created();
  }
  virtual ~ComObject() {
    if (count_.destroyed) count_.destroyed();
  }

  REFIID Iid() const { return iid_; }
  // A further interface of the object: `this` as the interface `riid` names, or nullptr.
  virtual void* OtherInterface(REFIID) { return nullptr; }

private:
  const IID iid_;
  const LiveObjectCount count_;
  LONG refs_ = 1;  // the creator's reference
};

// IDispatch without type information, for objects whose clients call the interface itself
// (accessibility) or only Invoke (event sinks). Invoke is the derived object's.
template <class Interface>
class UntypedDispatch : public ComObject<Interface> {
public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

protected:
  using ComObject<Interface>::ComObject;
};

}  // namespace orv

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
