// The unit types the program is built with: the type records made from the rows of
// the table of kinds (runtime/ui/kinds/table.cpp), with each kind's names, flags,
// property descriptors and routines. A type id not in the table names no type.
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/kinds/types_win.h"

#include <vector>

namespace lw {
namespace {

// Row for row with the table of kinds; empty until registered.
std::vector<UnitTypeInfo>& types() {
  static std::vector<UnitTypeInfo> t;
  return t;
}

UnitTypeInfo makeType(const UnitKind& kind) {
  UnitTypeInfo t = {};
  t.typeName = kind.typeName;
  t.englishName = kind.englishName;
  t.flags = kind.flags;
  t.properties = kind.properties;
  t.propertyCount = kind.propertyCount;
  t.routines = kind.routines;
  return t;
}

}  // namespace

void RegisterProgramUnitTypes() {
  types().clear();
  for (size_t i = 0; i < kUnitKindCount; ++i) types().push_back(makeType(kUnitKinds[i]));
}

const UnitTypeInfo* FindUnitType(uint32_t typeId) {
  for (const UnitTypeInfo& t : types())
    if (t.routines && t.routines->typeId == typeId) return &t;
  return nullptr;
}

}  // namespace lw
