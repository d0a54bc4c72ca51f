#pragma once
// A system function looked up at run time: older systems lack some, and the program must
// still start there; others are only needed later and need not be loaded with the program.
#include <windows.h>

namespace orv {

// The function `name` of the system library `module` (loaded from the system folder when it
// is not loaded yet; it stays loaded); nullptr where there is none.
template <typename F>
F SystemFunction(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (!handle) handle = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

}  // namespace orv
