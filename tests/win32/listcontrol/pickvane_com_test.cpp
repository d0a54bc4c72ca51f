// The library as hosts see it: registration, creation by ProgID, late binding by identifier
// and by name, the collection's errors, events from mouse messages, the drawn pixels, a script
// host, and the registration-free path of the program's wrapper.
#include <windows.h>
#include <ocidl.h>
#include <commctrl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KestrovePickvane_h.h"
#include "listcontrol/host/pickvane_host.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

constexpr DISPID kSelectItems = 0x68030000;
constexpr DISPID kRefresh = 0x6003000A;
constexpr DISPID kSelected = 0x6803000B;

class ComEnvironment : public ::testing::Environment {
public:
  void SetUp() override { OleInitialize(nullptr); }
  void TearDown() override { OleUninitialize(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

std::wstring DllPath() { return ExeFolder() + L"KestrovePickvane.dll"; }

// The library loaded the way regsvr32 loads it.
struct Library {
  ModuleHandle module{LoadLibraryExW(DllPath().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)};
  template <class F>
  F Entry(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module.get(), name)));
  }
  HRESULT Register() const { return Entry<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")(); }
  HRESULT Unregister() const { return Entry<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")(); }
  HRESULT Install(BOOL install, const wchar_t* line) const {
    return Entry<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall")(install, line);
  }
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

std::wstring ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer);
  if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return {};
  return buffer;
}

// Every key registration writes, for checking that unregistration leaves none behind.
std::vector<std::wstring> RegisteredKeys() {
  const std::wstring classes = L"Software\\Classes\\";
  return {classes + L"KestrovePickvane.Pickvane",
          classes + L"CLSID\\" + GuidText(CLSID_Pickvane),
          classes + L"TypeLib\\" + GuidText(LIBID_KestrovePickvane),
          classes + L"Interface\\" + GuidText(IID__Pickvane),
          classes + L"Interface\\" + GuidText(IID__SelectItems),
          classes + L"Interface\\" + GuidText(IID__SelectItem),
          classes + L"Interface\\" + GuidText(DIID___Pickvane)};
}

struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : v(other.v) { VariantInit(&other.v); }
  static Variant Text(const wchar_t* text) {
    Variant r;
    V_VT(&r.v) = VT_BSTR;
    V_BSTR(&r.v) = SysAllocString(text);
    return r;
  }
  static Variant Int(int value) {
    Variant r;
    V_VT(&r.v) = VT_I4;
    V_I4(&r.v) = value;
    return r;
  }
};

struct CallResult {
  HRESULT hr = E_FAIL;
  SCODE scode = 0;  // the exception's code when hr is DISP_E_EXCEPTION
  std::wstring description;
};

// Invokes `id` with `args` given first to last.
CallResult Invoke(IDispatch* target, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  DISPID put = DISPID_PROPERTYPUT;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  CallResult r;
  r.hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
  r.scode = exception.scode;
  if (exception.bstrDescription) r.description = exception.bstrDescription;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return r;
}

DISPID IdOf(IDispatch* target, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

ComPtr<IDispatch> Object(Variant& v) {
  EXPECT_EQ(V_VT(&v.v), VT_DISPATCH);
  return V_VT(&v.v) == VT_DISPATCH ? ComPtr<IDispatch>(V_DISPATCH(&v.v)) : ComPtr<IDispatch>();
}

std::wstring TextOf(IDispatch* item, const wchar_t* member) {
  Variant r;
  Invoke(item, IdOf(item, member), DISPATCH_PROPERTYGET, {}, &r.v);
  return V_VT(&r.v) == VT_BSTR ? std::wstring(V_BSTR(&r.v)) : L"<not text>";
}

short SelectedOf(IDispatch* control) {
  Variant r;
  EXPECT_EQ(Invoke(control, kSelected, DISPATCH_PROPERTYGET, {}, &r.v).hr, S_OK);
  return V_VT(&r.v) == VT_I2 ? V_I2(&r.v) : short{-999};
}

// Counts the events a sink receives.
class CountingSink final : public IDispatch {
public:
  int click = 0, dblclick = 0;
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    *out = (riid == IID_IUnknown || riid == IID_IDispatch) ? static_cast<IDispatch*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the test's stack
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    if (id == 1) ++dblclick;
    if (id == 2) ++click;
    return S_OK;
  }
  virtual ~CountingSink() = default;
};

// A plain top-level window to hold the control.
struct HostWindow {
  HostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PickvaneTestHost";
    RegisterClassW(&wc);
    hwnd.reset(CreateWindowExW(0, L"PickvaneTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr));
  }
  WindowHandle hwnd;
};

// The control's window in `host` at (10, 10), 300 x 200.
HWND PlaceIn(IPickvaneWindow* placement, const HostWindow& host) {
  HWND window = nullptr;
  EXPECT_EQ(placement->Create(host.hwnd.get(), 10, 10, 300, 200, &window), S_OK);
  return window;
}

HWND CanvasOf(HWND control) {
  HWND container = FindWindowExW(control, nullptr, L"KestrovePickvaneContainer", nullptr);
  return FindWindowExW(container, nullptr, L"KestrovePickvaneCanvas", nullptr);
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// The control's tooltip window: a popup owned by the window holding the control (a popup's
// owner is always a top-level window).
HWND TooltipOf(HWND control) {
  struct Search {
    HWND owner, found;
  } search{GetAncestor(control, GA_ROOT), nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM lparam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lparam);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (GetWindow(window, GW_OWNER) == s->owner && std::wstring(name) == TOOLTIPS_CLASSW) s->found = window;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring TipText(HWND tip, HWND canvas) {
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = GetParent(canvas);
  tool.uId = reinterpret_cast<UINT_PTR>(canvas);
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

// The canvas window's picture, read through WM_PRINTCLIENT.
struct Snapshot {
  explicit Snapshot(HWND canvas) {
    RECT r{};
    GetClientRect(canvas, &r);
    HDC screen = GetDC(nullptr);
    dc.reset(CreateCompatibleDC(screen));
    bitmap.reset(CreateCompatibleBitmap(screen, r.right, r.bottom));
    ReleaseDC(nullptr, screen);
    selection = SelectedObject(dc.get(), bitmap.get());
    SendMessageW(canvas, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc.get(), x, y); }
  bool AnyIn(const RECT& r, COLORREF color) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) == color) return true;
    return false;
  }
  MemoryDc dc;
  BitmapHandle bitmap;
  SelectedObject selection;
};

// Runs a command line and gives its exit code and output.
struct ProcessRun {
  DWORD exit_code = 0xFFFFFFFF;
  std::string output;
};
ProcessRun RunProcess(std::wstring command) {
  ProcessRun run;
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &sa, 0)) return run;
  KernelHandle read_end(read), write_end(write);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = write;
  si.hStdError = write;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return run;
  KernelHandle process(pi.hProcess), thread(pi.hThread);
  write_end.reset();
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(read, buffer, sizeof(buffer), &n, nullptr) && n > 0) run.output.append(buffer, n);
  WaitForSingleObject(pi.hProcess, 60000);
  GetExitCodeProcess(pi.hProcess, &run.exit_code);
  return run;
}

TEST(PickvaneLibrary, CarriesItsVersionAndDescription) {
  const std::wstring path = DllPath();
  DWORD ignored = 0;
  std::vector<BYTE> data(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT len = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    return VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &len) ? std::wstring(value)
                                                                                                : std::wstring();
  };
  EXPECT_EQ(text(L"FileVersion"), L"1.00.0005");
  EXPECT_EQ(text(L"FileDescription"), L"Kestrove + Pickvane Control");
}

// Leaves the machine unregistered whatever happens in between.
struct RegistrationScope {
  const Library& library;
  ~RegistrationScope() { library.Unregister(); }
};

TEST(PickvaneLibrary, RegistersDrivesByProgIdAndUnregistersCleanly) {
  Library library;
  ASSERT_TRUE(library.module);
  RegistrationScope scope{library};
  ASSERT_EQ(library.Register(), S_OK);
  const std::wstring clsid_key = L"Software\\Classes\\CLSID\\" + GuidText(CLSID_Pickvane);
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, L"Software\\Classes\\KestrovePickvane.Pickvane\\CLSID", nullptr),
            GuidText(CLSID_Pickvane));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, clsid_key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, clsid_key + L"\\InprocServer32", nullptr), DllPath());

  {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"KestrovePickvane.Pickvane", &clsid), S_OK);
    ComPtr<IDispatch> control;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(control.put())),
              S_OK);

    // Names give the published identifiers.
    EXPECT_EQ(IdOf(control.get(), L"SelectItems"), kSelectItems);
    EXPECT_EQ(IdOf(control.get(), L"Refresh"), kRefresh);
    EXPECT_EQ(IdOf(control.get(), L"selected"), kSelected);  // names ignore letter case

    // Without any window: fill the collection, by identifier and by name.
    Variant items_value;
    ASSERT_EQ(Invoke(control.get(), kSelectItems, DISPATCH_PROPERTYGET, {}, &items_value.v).hr, S_OK);
    ComPtr<IDispatch> items = Object(items_value);
    const DISPID add = IdOf(items.get(), L"Add");
    {
      Variant k1 = Variant::Text(L"rent"), c1 = Variant::Text(L"Rent"), m1 = Variant::Text(L"Monthly transfer");
      Variant k2 = Variant::Text(L"food"), c2 = Variant::Text(L"Food"), r1, r2;
      ASSERT_EQ(Invoke(items.get(), add, DISPATCH_METHOD, {k1.v, c1.v, m1.v}, &r1.v).hr, S_OK);
      ASSERT_EQ(Invoke(items.get(), add, DISPATCH_METHOD, {k2.v, c2.v}, &r2.v).hr, S_OK);  // optional arguments
      EXPECT_EQ(TextOf(Object(r2).get(), L"Comment"), L"");
      Variant k3 = Variant::Text(L"RENT"), r3;
      const CallResult dup = Invoke(items.get(), add, DISPATCH_METHOD, {k3.v}, &r3.v);
      EXPECT_EQ(dup.hr, DISP_E_EXCEPTION);
      EXPECT_EQ(dup.scode, static_cast<SCODE>(0x800A01C9));
      EXPECT_EQ(dup.description, L"This key is already associated with an element of this collection");
    }
    Variant count;
    ASSERT_EQ(Invoke(items.get(), IdOf(items.get(), L"Count"), DISPATCH_PROPERTYGET, {}, &count.v).hr, S_OK);
    EXPECT_EQ(V_I4(&count.v), 2);
    {
      Variant by_position = Variant::Int(2), by_key = Variant::Text(L"Rent"), a, b;
      ASSERT_EQ(Invoke(items.get(), DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {by_position.v}, &a.v).hr,
                S_OK);
      EXPECT_EQ(TextOf(Object(a).get(), L"Key"), L"food");
      ASSERT_EQ(Invoke(items.get(), IdOf(items.get(), L"Item"), DISPATCH_METHOD, {by_key.v}, &b.v).hr, S_OK);
      EXPECT_EQ(TextOf(Object(b).get(), L"Comment"), L"Monthly transfer");
      Variant missing = Variant::Text(L"none"), out_of_range = Variant::Int(3), c, d;
      EXPECT_EQ(Invoke(items.get(), DISPID_VALUE, DISPATCH_METHOD, {missing.v}, &c.v).scode,
                static_cast<SCODE>(0x800A0005));
      EXPECT_EQ(Invoke(items.get(), DISPID_VALUE, DISPATCH_METHOD, {out_of_range.v}, &d.v).scode,
                static_cast<SCODE>(0x800A0009));
    }
    {
      // The hidden enumerator yields the items in order.
      Variant e;
      ASSERT_EQ(Invoke(items.get(), DISPID_NEWENUM, DISPATCH_PROPERTYGET, {}, &e.v).hr, S_OK);
      ComPtr<IEnumVARIANT> en;
      ASSERT_EQ(V_UNKNOWN(&e.v)->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(en.put())), S_OK);
      std::vector<std::wstring> keys;
      Variant next;
      while (en->Next(1, &next.v, nullptr) == S_OK) {
        keys.push_back(TextOf(V_DISPATCH(&next.v), L"Key"));
        VariantClear(&next.v);
      }
      EXPECT_EQ(keys, (std::vector<std::wstring>{L"rent", L"food"}));
    }

    // Selected and Refresh by identifier.
    EXPECT_EQ(SelectedOf(control.get()), 0);
    ASSERT_EQ(Invoke(control.get(), kRefresh, DISPATCH_METHOD, {}, nullptr).hr, S_OK);
    EXPECT_EQ(SelectedOf(control.get()), 1);
    Variant seven;
    V_VT(&seven.v) = VT_I2;
    V_I2(&seven.v) = 7;
    ASSERT_EQ(Invoke(control.get(), kSelected, DISPATCH_PROPERTYPUT, {seven.v}, nullptr).hr, S_OK);
    EXPECT_EQ(SelectedOf(control.get()), 7);  // stored as given

    // In a window: events from mouse messages, keys, and the drawn row.
    CountingSink sink;
    ComPtr<IConnectionPoint> point;
    auto container = control.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ASSERT_TRUE(container);
    ASSERT_EQ(container->FindConnectionPoint(DIID___Pickvane, point.put()), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);

    HostWindow host;
    auto placement = control.As<IPickvaneWindow>(IID_IPickvaneWindow);
    ASSERT_TRUE(placement);
    HWND window = PlaceIn(placement.get(), host);
    HWND canvas = CanvasOf(window);
    ASSERT_TRUE(canvas);

    SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 40 + 10));  // row 2
    SendMessageW(canvas, WM_LBUTTONUP, 0, Point(60, 40 + 10));
    EXPECT_EQ(SelectedOf(control.get()), 2);
    EXPECT_EQ(sink.click, 1);
    SendMessageW(canvas, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(60, 40 + 10));
    SendMessageW(canvas, WM_LBUTTONUP, 0, Point(60, 40 + 10));
    EXPECT_EQ(sink.dblclick, 1);
    EXPECT_EQ(sink.click, 1);  // the release after a double click is not another click
    SendMessageW(window, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(SelectedOf(control.get()), 1);
    EXPECT_EQ(sink.click, 1);  // keys raise no events

    {
      // Row 1 is selected: the highlight around the icon place and behind the texts; row 2's
      // comment-less caption is black on white.
      Snapshot shot(canvas);
      EXPECT_EQ(shot.At(3, 3), GetSysColor(COLOR_HIGHLIGHT));
      EXPECT_EQ(shot.At(36, 36), GetSysColor(COLOR_HIGHLIGHT));
      EXPECT_EQ(shot.At(2, 10), RGB(255, 255, 255));
      EXPECT_TRUE(shot.AnyIn(RECT{44, 8, 200, 22}, GetSysColor(COLOR_HIGHLIGHTTEXT)));
      EXPECT_TRUE(shot.AnyIn(RECT{44, 40, 200, 76}, RGB(0, 0, 0)));
    }
    {
      // With nothing selected the first row's comment is grey.
      Variant zero;
      V_VT(&zero.v) = VT_I2;
      V_I2(&zero.v) = 0;
      ASSERT_EQ(Invoke(control.get(), kSelected, DISPATCH_PROPERTYPUT, {zero.v}, nullptr).hr, S_OK);
      Snapshot shot(canvas);
      EXPECT_EQ(shot.At(3, 3), RGB(255, 255, 255));
      EXPECT_TRUE(shot.AnyIn(RECT{44, 22, 200, 40}, RGB(128, 128, 128)));
    }
    point->Unadvise(cookie);
    SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 10));
    SendMessageW(canvas, WM_LBUTTONUP, 0, Point(60, 10));
    EXPECT_EQ(sink.click, 1);
    placement->Destroy();
  }

  // A script host drives the same object by ProgID while it is registered.
  const std::wstring script = L"Z:" + std::wstring(ORV_LISTCONTROL_SCRIPT);
  const ProcessRun run = RunProcess(L"cscript.exe //nologo \"" + script + L"\"");
  EXPECT_EQ(run.exit_code, 0u) << run.output;

  ASSERT_EQ(library.Unregister(), S_OK);
  for (const auto& key : RegisteredKeys()) EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << "left behind";
  CLSID clsid{};
  EXPECT_NE(CLSIDFromProgID(L"KestrovePickvane.Pickvane", &clsid), S_OK);
  EXPECT_EQ(library.Unregister(), S_OK);  // unregistering twice is harmless
}

// The default source interface of a class, found the way script hosts and form designers
// find it: through its type information.
GUID DefaultSourceOf(ITypeInfo* coclass) {
  GUID found = GUID_NULL;
  TYPEATTR* attributes = nullptr;
  if (FAILED(coclass->GetTypeAttr(&attributes))) return found;
  for (UINT i = 0; i < attributes->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> implemented;
    TYPEATTR* implemented_attributes = nullptr;
    if (SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)) &&
        (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) &&
        SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)) &&
        SUCCEEDED(coclass->GetRefTypeInfo(ref, implemented.put())) &&
        SUCCEEDED(implemented->GetTypeAttr(&implemented_attributes))) {
      found = implemented_attributes->guid;
      implemented->ReleaseTypeAttr(implemented_attributes);
    }
  }
  coclass->ReleaseTypeAttr(attributes);
  return found;
}

// A host that wires events by enumerating: the class information names the event interface,
// the control lists its connection point, and the point lists the sinks connected to it.
TEST(PickvaneEvents, AnEnumeratingClientFindsTheEventsAndTheirConnections) {
  Library library;
  ASSERT_TRUE(library.module);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(library.Entry<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(
                CLSID_Pickvane, IID_IClassFactory, reinterpret_cast<void**>(factory.put())),
            S_OK);
  ComPtr<IUnknown> control;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(control.put())), S_OK);

  auto class_info = control.As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  ASSERT_TRUE(class_info);
  GUID events = GUID_NULL;
  EXPECT_EQ(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  EXPECT_EQ(events, DIID___Pickvane);
  EXPECT_EQ(class_info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID + 7, &events), E_INVALIDARG);
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(class_info->GetClassInfo(coclass.put()), S_OK);
  EXPECT_EQ(DefaultSourceOf(coclass.get()), DIID___Pickvane);

  auto container = control.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  ASSERT_TRUE(container);
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  IConnectionPoint* listed[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(points->Next(2, listed, &fetched), S_FALSE);  // the one there is
  ASSERT_EQ(fetched, 1u);
  auto point = ComPtr<IConnectionPoint>::Adopt(listed[0]);
  IID interface_id = IID_NULL;
  ASSERT_EQ(point->GetConnectionInterface(&interface_id), S_OK);
  EXPECT_EQ(interface_id, DIID___Pickvane);
  EXPECT_EQ(points->Next(1, listed, nullptr), S_FALSE);
  ASSERT_EQ(points->Reset(), S_OK);
  ComPtr<IEnumConnectionPoints> copy;
  ASSERT_EQ(points->Clone(copy.put()), S_OK);
  EXPECT_EQ(points->Skip(1), S_OK);
  EXPECT_EQ(points->Skip(1), S_FALSE);
  ASSERT_EQ(copy->Next(1, listed, nullptr), S_OK);
  EXPECT_EQ(listed[0], point.get());
  listed[0]->Release();

  CountingSink first, second;
  DWORD first_cookie = 0, second_cookie = 0;
  ASSERT_EQ(point->Advise(&first, &first_cookie), S_OK);
  ASSERT_EQ(point->Advise(&second, &second_cookie), S_OK);
  auto connected = [&] {
    std::vector<std::pair<DWORD, IUnknown*>> seen;
    ComPtr<IEnumConnections> connections;
    EXPECT_EQ(point->EnumConnections(connections.put()), S_OK);
    CONNECTDATA data[3] = {};
    ULONG n = 0;
    if (connections) {
      EXPECT_EQ(connections->Next(3, data, &n), S_FALSE);
    }
    for (ULONG i = 0; i < n; ++i) {
      seen.emplace_back(data[i].dwCookie, data[i].pUnk);
      data[i].pUnk->Release();
    }
    return seen;
  };
  EXPECT_EQ(connected(), (std::vector<std::pair<DWORD, IUnknown*>>{{first_cookie, &first}, {second_cookie, &second}}));
  ASSERT_EQ(point->Unadvise(first_cookie), S_OK);
  EXPECT_EQ(connected(), (std::vector<std::pair<DWORD, IUnknown*>>{{second_cookie, &second}}));

  // Wired this way, the events arrive.
  HostWindow host;
  auto placement = control.As<IPickvaneWindow>(IID_IPickvaneWindow);
  ASSERT_TRUE(placement);
  HWND canvas = CanvasOf(PlaceIn(placement.get(), host));
  SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 10));
  SendMessageW(canvas, WM_LBUTTONUP, 0, Point(60, 10));
  EXPECT_EQ(second.click, 1);
  EXPECT_EQ(first.click, 0);
  point->Unadvise(second_cookie);
  placement->Destroy();
}

TEST(PickvaneLibrary, RegistersForTheCurrentUserThroughDllInstall) {
  Library library;
  struct UserScope {
    const Library& library;
    ~UserScope() { library.Install(FALSE, L"user"); }
  } scope{library};
  ASSERT_EQ(library.Install(TRUE, L"user"), S_OK);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, L"Software\\Classes\\KestrovePickvane.Pickvane\\CLSID", nullptr),
            GuidText(CLSID_Pickvane));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Classes\\KestrovePickvane.Pickvane"));
  ASSERT_EQ(library.Install(FALSE, L"user"), S_OK);
  for (const auto& key : RegisteredKeys()) EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << "left behind";
}

TEST(PickvaneHost, WorksWithoutRegistrationFromTheProgramFolder) {
  CLSID clsid{};
  ASSERT_NE(CLSIDFromProgID(L"KestrovePickvane.Pickvane", &clsid), S_OK) << "expects an unregistered library";
  auto host = PickvaneHost::Create();
  ASSERT_TRUE(host);
  EXPECT_EQ(host->source(), PickvaneHost::Source::ProgramFolder);

  EXPECT_TRUE(host->AddItem("1", "Salary", "Monthly"));
  EXPECT_TRUE(host->AddItem("2", "Gas", ""));
  EXPECT_FALSE(host->AddItem("1", "Again", ""));
  EXPECT_EQ(host->Count(), 2);
  EXPECT_EQ(host->KeyAt(2), "2");
  EXPECT_EQ(host->KeyAt(3), std::nullopt);
  EXPECT_EQ(host->CaptionAt(1), "Salary");
  EXPECT_EQ(host->CaptionAt(3), std::nullopt);

  int clicks = 0, doubles = 0;
  host->OnClick([&] { ++clicks; });
  host->OnDblClick([&] { ++doubles; });
  HostWindow window;
  ASSERT_TRUE(host->PlaceIn(window.hwnd.get(), RECT{0, 0, 250, 150}));
  EXPECT_TRUE(host->Refresh());
  EXPECT_EQ(host->Selected(), 1);
  EXPECT_TRUE(host->SetSelected(2));
  EXPECT_EQ(host->Selected(), 2);

  HWND canvas = CanvasOf(host->window());
  ASSERT_TRUE(canvas);
  SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 10));
  SendMessageW(canvas, WM_LBUTTONUP, 0, Point(50, 10));
  SendMessageW(canvas, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(50, 10));
  EXPECT_EQ(host->Selected(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubles, 1);

  // Scrolling moves the canvas window inside the viewport.
  for (int i = 3; i <= 20; ++i) host->AddItem(std::to_string(i), "Item " + std::to_string(i), "");
  auto canvas_top = [&] {
    RECT r{};
    GetWindowRect(canvas, &r);
    MapWindowPoints(nullptr, GetParent(canvas), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
  };
  EXPECT_TRUE(host->SetSelected(20));
  EXPECT_LT(canvas_top(), -500);
  SendMessageW(GetParent(canvas), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(canvas_top(), 0);
  SendMessageW(GetParent(canvas), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_LT(canvas_top(), 0);

  // The tooltip names the row under the pointer; when the host moves the selection (as the
  // wheel does) and the rows scroll beneath a still pointer, the tip goes and follows.
  ShowWindow(window.hwnd.get(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.hwnd.get());
  SendMessageW(GetParent(canvas), WM_VSCROLL, SB_TOP, 0);
  POINT pointer{60, 12};
  ClientToScreen(GetParent(canvas), &pointer);
  ASSERT_TRUE(SetCursorPos(pointer.x, pointer.y));
  POINT in_canvas = pointer;
  ScreenToClient(canvas, &in_canvas);
  SendMessageW(canvas, WM_MOUSEMOVE, 0, Point(in_canvas.x, in_canvas.y));
  HWND tip = TooltipOf(host->window());
  ASSERT_TRUE(tip);
  EXPECT_EQ(TipText(tip, canvas), L"Salary");
  SendMessageW(tip, TTM_POPUP, 0, 0);
  const bool was_shown = IsWindowVisible(tip);
  EXPECT_TRUE(host->SetSelected(20));
  EXPECT_FALSE(IsWindowVisible(tip)) << "shown before: " << was_shown;
  const std::wstring followed = TipText(tip, canvas);
  ASSERT_EQ(followed.rfind(L"Item ", 0), 0u) << WideToUtf8(followed);
  EXPECT_GE(std::stoi(followed.substr(5)), 12);
  host.reset();  // releases the control and frees the library
}

}  // namespace
}  // namespace orv
