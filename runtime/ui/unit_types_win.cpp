// The unit types of the core library (library 1) and the list view library
// (library 3), each with its entry routine. Types not built into the program are
// all zero.
#include "runtime/ui/unit_types_win.h"

#include "runtime/ui/unit.h"
#include "runtime/ui/window_unit_win.h"

namespace lw {
namespace {

void* menuItemEntry(int) { return nullptr; }  // menu items have no window of their own

UnitTypeInfo makeType(uint32_t typeId, UnitTypeEntry entry) {
  UnitTypeInfo t = {};
  const UnitKind* kind = FindUnitKind(typeId);
  t.typeName = kind->typeName;
  t.englishName = kind->englishName;
  t.flags = kind->flags;
  size_t count = 0;
  t.properties = OwnPropertyDescriptors(typeId, &count);
  t.propertyCount = uint32_t(count);
  t.entry = entry;
  return t;
}

UnitTypeInfo g_core[11] = {};
UnitTypeInfo g_listView[4] = {};

}  // namespace


void RegisterProgramUnitTypes() {
  g_core[0] = makeType(unit_type::Window, &WindowTypeEntry);
  g_core[2] = makeType(unit_type::MenuItem, &menuItemEntry);
  const struct {
    uint32_t typeId;
    UnitTypeEntry entry;
  } controls[] = {
      {unit_type::EditBox, g_unitKindEntries.editBox}, {unit_type::PicBox, g_unitKindEntries.picBox},
      {unit_type::GroupBox, g_unitKindEntries.groupBox}, {unit_type::Label, g_unitKindEntries.label},
      {unit_type::Button, g_unitKindEntries.button},
  };
  for (const auto& c : controls)
    if (c.entry) g_core[(c.typeId & 0xFFFF) - 1] = makeType(c.typeId, c.entry);
  if (g_unitKindEntries.listView) g_listView[3] = makeType(unit_type::ListView, g_unitKindEntries.listView);
  RegisterUnitTypes(1, g_core, 11);
  RegisterUnitTypes(3, g_listView, 4);
}

}  // namespace lw
