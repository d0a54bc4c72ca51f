#include "listcontrol/win32/module.hpp"

#include <atomic>

#include "KestrovePickvane_h.h"

namespace orv::pickvane {
namespace {

struct ModuleState {
  HINSTANCE instance = nullptr;
  std::atomic<long> objects{0};
  std::atomic<long> locks{0};
  ComPtr<ITypeLib> type_library;  // loaded with the first object, released with the last
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

struct ErrorText {
  ErrorNumber number;
  const wchar_t* text;
};
constexpr ErrorText kErrors[] = {
    {kInvalidCall, L"Invalid procedure call or argument"},
    {kOverflow, L"Overflow"},
    {kOutOfRange, L"Subscript out of range"},
    {kTypeMismatch, L"Type mismatch"},
    {kDuplicateKey, L"This key is already associated with an element of this collection"},
};

}  // namespace

HINSTANCE ModuleInstance() { return State().instance; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(State().instance, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ObjectCreated() { ++State().objects; }

void ObjectDestroyed() {
  if (--State().objects == 0) State().type_library.reset();
}

void LockModule(bool lock) {
  if (lock) {
    ++State().locks;
  } else {
    --State().locks;
  }
}

bool ModuleInUse() { return State().objects > 0 || State().locks > 0; }

ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid) {
  ModuleState& state = State();
  if (!state.type_library) {
    // The type library is a resource of this file; REGKIND_NONE loads it without registering.
    if (FAILED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, state.type_library.put()))) return {};
  }
  ComPtr<ITypeInfo> info;
  state.type_library->GetTypeInfoOfGuid(guid, info.put());
  return info;
}

const wchar_t* DescriptionOf(HRESULT hr) {
  if (HRESULT_FACILITY(hr) != FACILITY_CONTROL) return nullptr;
  for (const auto& e : kErrors)
    if (HRESULT_CODE(hr) == e.number) return e.text;
  return nullptr;
}

HRESULT Fail(ErrorNumber number) {
  const HRESULT hr = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.put()))) {
    create->SetSource(const_cast<LPOLESTR>(L"KestrovePickvane"));
    if (const wchar_t* text = DescriptionOf(hr)) create->SetDescription(const_cast<LPOLESTR>(text));
    if (auto info = create.As<IErrorInfo>(IID_IErrorInfo)) SetErrorInfo(0, info.get());
  }
  return hr;
}

}  // namespace orv::pickvane

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    orv::pickvane::State().instance = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
