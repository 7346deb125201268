// The platform side of automation objects and variants: the VARIANT inside a
// variant block, the interface inside an object block, and InvokeByName, the one
// routine behind every read, call and write by name. Platform header: only
// _win.cpp files include it.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include "runtime/core/automation/automation.h"

namespace lw {

inline VARIANT* AsVariant(VariantRef v) { return reinterpret_cast<VARIANT*>(v); }
inline IUnknown* ObjectInterface(ObjectRef o) { return o ? static_cast<IUnknown*>(o->iface) : nullptr; }

// Reads, calls or writes `name` of the object in args[0] with the arguments from
// args[2] on (the name is args[1]). The result, converted to resultType (None for
// a write), goes into *result; on failure it is the empty value of that type. The
// code is returned and kept as the thread's last automation result.
int32_t InvokeByName(automation::Use use, int argc, ArgRecord* args, TypeWord resultType, ResultRecord* result);

// Empties an object block: destroys a held structure value, releases the interface.
void ReleaseObjectBlock(ObjectRef o);

}  // namespace lw
