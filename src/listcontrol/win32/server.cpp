// The library's entry points: the class factory, the unload test and self-registration.
//
// Registration is one table of registry values under <root>\Software\Classes, written by
// DllRegisterServer for the machine (HKEY_LOCAL_MACHINE) and by DllInstall with the command
// line "user" (regsvr32 /n /i:user) for the current user (HKEY_CURRENT_USER) without
// administrator rights. Unregistration removes the key trees the table owns, nothing else.
#include <windows.h>
#include <olectl.h>

#include <new>
#include <string>
#include <string_view>

#include "KestrovePickvane_h.h"
#include "listcontrol/win32/automation.hpp"
#include "listcontrol/win32/module.hpp"

namespace orv::pickvane {
namespace {

// ---- class factory

using CreateFunction = HRESULT (*)(REFIID, void**);
struct CreatableClass {
  const CLSID* clsid;
  CreateFunction create;
};
const CreatableClass kClasses[] = {{&CLSID_Pickvane, &CreatePickvane}};

class ClassFactory final : public ComObject<IClassFactory> {
public:
  explicit ClassFactory(CreateFunction create) : ComObject(IID_IClassFactory), create_(create) {}

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out) *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

private:
  CreateFunction create_;
};

// ---- registration table

struct RegistryValue {
  const wchar_t* key;    // under Software\Classes; {names} are filled in
  const wchar_t* name;   // nullptr: the key's default value
  const wchar_t* value;
};

constexpr RegistryValue kValues[] = {
    {L"KestrovePickvane.Pickvane", nullptr, L"Pickvane"},
    {L"KestrovePickvane.Pickvane\\CLSID", nullptr, L"{clsid}"},
    {L"CLSID\\{clsid}", nullptr, L"Pickvane"},
    {L"CLSID\\{clsid}\\InprocServer32", nullptr, L"{path}"},
    {L"CLSID\\{clsid}\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {L"CLSID\\{clsid}\\ProgID", nullptr, L"KestrovePickvane.Pickvane"},
    {L"CLSID\\{clsid}\\TypeLib", nullptr, L"{libid}"},
    {L"CLSID\\{clsid}\\Version", nullptr, L"1.0"},
    {L"TypeLib\\{libid}\\1.0", nullptr, L"Kestrove + Pickvane Control"},
    {L"TypeLib\\{libid}\\1.0\\0\\win64", nullptr, L"{path}"},
    {L"TypeLib\\{libid}\\1.0\\FLAGS", nullptr, L"0"},
    // With its trailing backslash, as the installer writes the same value.
    {L"TypeLib\\{libid}\\1.0\\HELPDIR", nullptr, L"{folder}"},
    // The interfaces, so the type library marshaller serves them across apartments.
    {L"Interface\\{pickvane}", nullptr, L"_Pickvane"},
    {L"Interface\\{pickvane}\\ProxyStubClsid32", nullptr, L"{00020424-0000-0000-C000-000000000046}"},
    {L"Interface\\{pickvane}\\TypeLib", nullptr, L"{libid}"},
    {L"Interface\\{pickvane}\\TypeLib", L"Version", L"1.0"},
    {L"Interface\\{items}", nullptr, L"_SelectItems"},
    {L"Interface\\{items}\\ProxyStubClsid32", nullptr, L"{00020424-0000-0000-C000-000000000046}"},
    {L"Interface\\{items}\\TypeLib", nullptr, L"{libid}"},
    {L"Interface\\{items}\\TypeLib", L"Version", L"1.0"},
    {L"Interface\\{item}", nullptr, L"_SelectItem"},
    {L"Interface\\{item}\\ProxyStubClsid32", nullptr, L"{00020424-0000-0000-C000-000000000046}"},
    {L"Interface\\{item}\\TypeLib", nullptr, L"{libid}"},
    {L"Interface\\{item}\\TypeLib", L"Version", L"1.0"},
    {L"Interface\\{events}", nullptr, L"__Pickvane"},
    {L"Interface\\{events}\\ProxyStubClsid32", nullptr, L"{00020420-0000-0000-C000-000000000046}"},
    {L"Interface\\{events}\\TypeLib", nullptr, L"{libid}"},
    {L"Interface\\{events}\\TypeLib", L"Version", L"1.0"},
};

// The trees registration creates and unregistration removes.
constexpr const wchar_t* kOwnedTrees[] = {
    L"KestrovePickvane.Pickvane", L"CLSID\\{clsid}",      L"TypeLib\\{libid}",     L"Interface\\{pickvane}",
    L"Interface\\{items}",        L"Interface\\{item}", L"Interface\\{events}",
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring Fill(std::wstring_view pattern) {
  const std::wstring path = ModulePath();
  const std::pair<std::wstring_view, std::wstring> names[] = {
      {L"{clsid}", GuidText(CLSID_Pickvane)},     {L"{libid}", GuidText(LIBID_KestrovePickvane)},
      {L"{pickvane}", GuidText(IID__Pickvane)},   {L"{items}", GuidText(IID__SelectItems)},
      {L"{item}", GuidText(IID__SelectItem)},     {L"{events}", GuidText(DIID___Pickvane)},
      {L"{path}", path},                          {L"{folder}", path.substr(0, path.find_last_of(L'\\') + 1)},
  };
  std::wstring out(pattern);
  for (const auto& [name, value] : names) {
    for (auto at = out.find(name); at != std::wstring::npos; at = out.find(name, at + value.size())) {
      out.replace(at, name.size(), value);
    }
  }
  return out;
}

std::wstring ClassesKey(const wchar_t* key) { return L"Software\\Classes\\" + Fill(key); }

HRESULT Unregister(HKEY root) {
  for (const wchar_t* tree : kOwnedTrees) {
    const LSTATUS status = RegDeleteTreeW(root, ClassesKey(tree).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return SELFREG_E_CLASS;
  }
  return S_OK;
}

HRESULT Register(HKEY root) {
  for (const auto& v : kValues) {
    RegKey key;
    HKEY raw = nullptr;
    if (RegCreateKeyExW(root, ClassesKey(v.key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
      Unregister(root);  // leave nothing half-written behind
      return SELFREG_E_CLASS;
    }
    key.reset(raw);
    const std::wstring value = Fill(v.value);
    if (RegSetValueExW(key.get(), v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
      Unregister(root);
      return SELFREG_E_CLASS;
    }
  }
  return S_OK;
}

}  // namespace
}  // namespace orv::pickvane

using namespace orv::pickvane;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (const auto& c : kClasses) {
    if (*c.clsid != clsid) continue;
    auto* factory = new (std::nothrow) ClassFactory(c.create);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() { return Register(HKEY_LOCAL_MACHINE); }

STDAPI DllUnregisterServer() { return Unregister(HKEY_LOCAL_MACHINE); }

// regsvr32 /n /i:user registers for the current user only; any other command line means the
// machine, as DllRegisterServer does.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  const bool user = command_line && CompareStringOrdinal(command_line, -1, L"user", -1, TRUE) == CSTR_EQUAL;
  const HKEY root = user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  return install ? Register(root) : Unregister(root);
}
