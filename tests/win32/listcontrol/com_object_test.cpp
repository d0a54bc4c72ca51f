// The COM skeleton the program's accessible objects, the list control library's objects and
// the host's event sink all stand on: which interfaces QueryInterface gives (and as which
// pointer, so an object keeps one identity), when the object goes, and the live-object count
// a DLL unloads by.
#include "platform/win32/com_object.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

int g_created = 0;
int g_destroyed = 0;
void Created() { ++g_created; }
void Destroyed() { ++g_destroyed; }
constexpr LiveObjectCount kCounted{&Created, &Destroyed};

// An event interface served through IDispatch, as a connection point's sink is.
constexpr IID kEvents = {0x6d1f3c2a, 0x51b4, 0x4e0f, {0x9a, 0x31, 0x27, 0x40, 0x8e, 0x15, 0xc2, 0x7d}};

class Sink final : public UntypedDispatch<IDispatch> {
public:
  explicit Sink(LiveObjectCount count) : UntypedDispatch(kEvents, count) {}
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }
};

// A second interface as a further base, answered through OtherInterface.
class Factory final : public ComObject<IClassFactory>, public IPersist {
public:
  Factory() : ComObject(IID_IClassFactory, kCounted) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return ComObject::QueryInterface(riid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return ComObject::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return ComObject::Release(); }
  STDMETHODIMP CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
  STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }

protected:
  void* OtherInterface(REFIID riid) override { return riid == IID_IPersist ? static_cast<IPersist*>(this) : nullptr; }
};

TEST(ComObject, QueryInterfaceAnswersItsTableWithOneIdentity) {
  g_created = g_destroyed = 0;
  auto* sink = new Sink(kCounted);
  auto* factory = new Factory();
  IUnknown* const factory_unknown = static_cast<IClassFactory*>(factory);
  EXPECT_EQ(g_created, 2);
  void* const sink_self = static_cast<IDispatch*>(sink);
  void* const factory_self = static_cast<IClassFactory*>(factory);
  void* const factory_persist = static_cast<IPersist*>(factory);
  const struct {
    const char* what;
    IUnknown* object;
    IID iid;
    HRESULT result;
    void* pointer;
  } cases[] = {
      {"sink as IUnknown", sink, IID_IUnknown, S_OK, sink_self},
      {"sink as its events", sink, kEvents, S_OK, sink_self},
      {"sink as IDispatch", sink, IID_IDispatch, S_OK, sink_self},
      {"sink as something else", sink, IID_IClassFactory, E_NOINTERFACE, nullptr},
      {"factory as IUnknown", factory_unknown, IID_IUnknown, S_OK, factory_self},
      {"factory as itself", factory_unknown, IID_IClassFactory, S_OK, factory_self},
      {"factory as its further interface", factory_unknown, IID_IPersist, S_OK, factory_persist},
      // Not a dispatch interface: no IDispatch.
      {"factory as IDispatch", factory_unknown, IID_IDispatch, E_NOINTERFACE, nullptr},
      {"factory's further interface back as IUnknown", static_cast<IPersist*>(factory), IID_IUnknown, S_OK,
       factory_self},
  };
  for (const auto& c : cases) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(c.object->QueryInterface(c.iid, &out), c.result) << c.what;
    EXPECT_EQ(out, c.pointer) << c.what;
    if (SUCCEEDED(c.result)) static_cast<IUnknown*>(out)->Release();
  }
  EXPECT_EQ(sink->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  UINT count = 7;
  EXPECT_EQ(sink->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(sink->GetTypeInfoCount(nullptr), E_POINTER);
  EXPECT_EQ(g_destroyed, 0);  // the answers' references are given back, the creator's stays
  EXPECT_EQ(sink->Release(), 0u);
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(g_destroyed, 2);
}

TEST(ComObject, TheLastReleaseDeletesAndAnUncountedObjectCountsNothing) {
  g_created = g_destroyed = 0;
  auto* sink = new Sink(LiveObjectCount{});
  EXPECT_EQ(sink->AddRef(), 2u);
  EXPECT_EQ(sink->AddRef(), 3u);
  EXPECT_EQ(sink->Release(), 2u);
  EXPECT_EQ(sink->Release(), 1u);
  EXPECT_EQ(sink->Release(), 0u);
  EXPECT_EQ(g_created, 0);
  EXPECT_EQ(g_destroyed, 0);

  auto* counted = new Sink(kCounted);
  counted->AddRef();
  counted->Release();
  EXPECT_EQ(g_destroyed, 0);
  counted->Release();
  EXPECT_EQ(g_created, 1);
  EXPECT_EQ(g_destroyed, 1);
}

}  // namespace
}  // namespace orv
