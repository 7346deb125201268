// The unit types the program is built with: one table of the kinds' routine rows,
// and the type records made from it with the names, flags and property descriptors
// of each kind. A type id not in the table names no type.
#include "runtime/ui/kinds/types_win.h"

#include "runtime/ui/kinds/control_kinds_win.h"
#include "runtime/ui/kinds/window_win.h"

namespace lw {
namespace {

// Menu items have no window of their own, so no routines.
const UnitKindRoutines kMenuItemRoutines = {unit_type::MenuItem, nullptr, nullptr, nullptr, nullptr};

const UnitKindRoutines* const kBuiltInKinds[] = {
    &kWindowRoutines,   &kMenuItemRoutines, &kEditBoxRoutines, &kPicBoxRoutines,
    &kGroupBoxRoutines, &kLabelRoutines,    &kButtonRoutines,  &kListViewRoutines,
};
constexpr size_t kBuiltInKindCount = sizeof kBuiltInKinds / sizeof kBuiltInKinds[0];

// Row for row with kBuiltInKinds; all zero until registered.
UnitTypeInfo g_types[kBuiltInKindCount] = {};

UnitTypeInfo makeType(const UnitKindRoutines& routines) {
  UnitTypeInfo t = {};
  const UnitKind* kind = FindUnitKind(routines.typeId);
  t.typeName = kind->typeName;
  t.englishName = kind->englishName;
  t.flags = kind->flags;
  size_t count = 0;
  t.properties = OwnPropertyDescriptors(routines.typeId, &count);
  t.propertyCount = uint32_t(count);
  t.routines = &routines;
  return t;
}

}  // namespace

void RegisterProgramUnitTypes() {
  for (size_t i = 0; i < kBuiltInKindCount; ++i) g_types[i] = makeType(*kBuiltInKinds[i]);
}

const UnitTypeInfo* FindUnitType(uint32_t typeId) {
  for (const UnitTypeInfo& t : g_types)
    if (t.routines && t.routines->typeId == typeId) return &t;
  return nullptr;
}

}  // namespace lw
