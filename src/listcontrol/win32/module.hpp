#pragma once
// What the whole library shares: its module handle, the count of live objects and server
// locks behind DllCanUnloadNow, the type library every IDispatch is served from, and the
// automation errors returned to hosts. These are process-wide by the nature of a DLL.
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "platform/win32/com_object.hpp"
#include "platform/win32/handles.hpp"

namespace orv::pickvane {

HINSTANCE ModuleInstance();
std::wstring ModulePath();

void ObjectCreated();
void ObjectDestroyed();
// What every object of the library (and the accessible object of its window) counts by.
inline constexpr LiveObjectCount kModuleObjects{&ObjectCreated, &ObjectDestroyed};
void LockModule(bool lock);
bool ModuleInUse();

// Type information of an interface or class of the embedded type library; empty on failure.
ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid);

// Automation error numbers, as scripts know them.
enum ErrorNumber : int {
  kInvalidCall = 5,       // "Invalid procedure call or argument"
  kOverflow = 6,          // "Overflow"
  kOutOfRange = 9,        // "Subscript out of range"
  kTypeMismatch = 13,     // "Type mismatch"
  kDuplicateKey = 457,    // "This key is already associated with an element of this collection"
};
// Records the error for the caller (IErrorInfo) and returns its HRESULT.
HRESULT Fail(ErrorNumber number);
// The description of one of ours, or nullptr.
const wchar_t* DescriptionOf(HRESULT hr);

}  // namespace orv::pickvane
