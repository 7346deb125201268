// Property access by window id, unit id, property number and element index.
#pragma once
#include <cstdint>

#include "runtime/core/values/types.h"

namespace lw {

struct WindowRecord;
struct UnitRecord;
struct Unit;

uint64_t ReadUnitProperty(uint32_t windowId, uint32_t unitId, int number, int element);
void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int number, int element, Word low, Word high);

// Replaces a unit's platform window by a new one made from its current properties,
// when a property change cannot be applied to the existing control.
void RecreateUnit(WindowRecord* window, UnitRecord* record, Unit* old);

}  // namespace lw
