// The type tables of the runtime libraries, by library number; a type id names
// (library << 16) | 1-based index.
#include <cstddef>

#include "runtime/ui/unit.h"

namespace lw {
namespace {

struct TypeTable {
  const UnitTypeInfo* table;
  size_t count;
};
TypeTable g_tables[8] = {};

}  // namespace

void RegisterUnitTypes(uint32_t library, const UnitTypeInfo* table, size_t count) {
  if (library >= 1 && library <= sizeof g_tables / sizeof g_tables[0]) g_tables[library - 1] = {table, count};
}

const UnitTypeInfo* FindUnitType(uint32_t typeId) {
  uint32_t library = typeId >> 16, index = typeId & 0xFFFF;
  if (library < 1 || library > sizeof g_tables / sizeof g_tables[0] || index < 1) return nullptr;
  const TypeTable& t = g_tables[library - 1];
  if (!t.table || index > t.count) return nullptr;
  const UnitTypeInfo* info = &t.table[index - 1];
  return info->typeName ? info : nullptr;
}

}  // namespace lw
