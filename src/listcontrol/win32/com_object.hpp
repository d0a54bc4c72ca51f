#pragma once
// Every COM object of the library: the shared skeleton, counted among the module's live
// objects behind DllCanUnloadNow.
#include "listcontrol/win32/module.hpp"
#include "platform/win32/com_object.hpp"

namespace orv::pickvane {

template <class Interface>
class ComObject : public orv::ComObject<Interface> {
protected:
  explicit ComObject(REFIID iid) : orv::ComObject<Interface>(iid, kModuleObjects) {}
};

}  // namespace orv::pickvane
