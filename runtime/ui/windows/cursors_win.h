// The mouse pointer a unit shows, made from its mouse-pointer block.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace lw {

// Cursor made from a unit's mouse-pointer block; null for the class default.
HCURSOR MakeUnitCursor(const uint8_t* block, size_t size);
// Empties a unit's cursor slot: a cursor made from cursor data is destroyed, a shared
// system cursor is left alone.
void ReleaseUnitCursor(void** cursor);

}  // namespace lw
