// The loaded-window table: the window records read from the program's section at
// start-up, owned by the runtime from start-up to shutdown. While a window is
// loaded its records double as its live state. Pure.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/ui/properties/template_format.h"

namespace lw {

WindowTemplate& LoadedWindows();

// Reads the section into the table and fixes up every handler entry against the
// code base; an entry must name a whole handler slot inside the handler table's
// `handlerTableBytes`. False (the table left empty) when the section is damaged.
bool ReadLoadedWindows(const uint8_t* data, size_t size, uintptr_t codeBase, size_t handlerTableBytes);

// Forgets every window record (after the live windows are gone).
void ClearLoadedWindows();

WindowRecord* FindLoadedWindow(uint32_t windowId);

}  // namespace lw
