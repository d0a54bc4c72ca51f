#pragma once
// The system libraries the program loads on first use (see orv_delay_load in the build). A
// library or function that is missing would otherwise raise an exception nobody catches and
// end the program with the user's unsaved edits: the failure hook makes such a call return a
// failure value instead and remembers it, and the windows that need the libraries ask first.
#include <windows.h>

#include <optional>

#include "platform/library_failures.hpp"

namespace orv {

// Installs the failure hook; call first thing in the program.
void InstallDelayLoadGuard();
// Whether `library` loads and no function taken from it was found missing so far.
bool DelayLoadedLibraryUsable(const char* library);
// The first failure recorded for `library`, if any.
std::optional<LibraryFailure> DelayLoadFailure(const char* library);
// Whether the libraries a dialog needs (the common controls, the automation library) are
// usable; when not, tells the user why (a message box owned by `owner`) and returns false, and
// the dialog stays closed.
bool DialogLibrariesReady(HWND owner);

}  // namespace orv
