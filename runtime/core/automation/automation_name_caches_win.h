// What names bound to, kept between calls by name: the binding of a name through a
// type's information, the dual interfaces of the type libraries seen (for objects
// that claim type information and fail to give it), and the member numbers of
// objects without type information. Internal to the binding and invocation file
// and its caches file.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <vector>

#include "runtime/core/automation/automation_win.h"
#include "runtime/core/automation/com_ref_win.h"

namespace lw::automation::detail {

// A parameter as its declaration gives it.
struct ParamType {
  VARTYPE base = VT_VARIANT;
  bool byRef = false;
  bool isArray = false;
  bool out = false;
};

// What a name bound to.
struct Member {
  MEMBERID id = DISPID_UNKNOWN;
  WORD flags = 0;
  int params = 0;
  int optional = 0;  // -1: a variable argument list in the last parameter
  bool typed = false;
  std::vector<ParamType> types;
};

// The binding kept for `name` used this way through `info`; null when none is kept.
std::shared_ptr<const Member> BoundBefore(ITypeInfo* info, Use use, const char* name);

// Keeps a binding made through `info`, and notes the dual interfaces of its library.
void KeepBinding(ITypeInfo* info, Use use, const char* name, const Member& m);

// The description of the dual interface `disp` is the automation interface of;
// empty when it is none of those seen.
ComRef<ITypeInfo> DualInterfaceOf(IDispatch* disp);

// The member number kept for `name` of the object the block holds; false when none.
bool NameKnown(ObjectRef block, const char* name, DISPID* id);

// Keeps the member number the object's own lookup gave for `name`.
void KeepName(ObjectRef block, const char* name, DISPID id);

}  // namespace lw::automation::detail
