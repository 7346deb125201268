// Installing the window system into the runtime core, and the window commands.
#pragma once
#include <cstdint>

#include "runtime/core/values/types.h"

namespace lw {

struct Unit;

// Registers the unit types and hands the window system to the core; a program
// calls it before the runtime starts.
void InstallWindowSystem();

// The live object of a unit (0: the window's own unit); null when not loaded.
Unit* FindLiveUnit(uint32_t windowId, uint32_t unitId);

namespace commands {
// LoadWindow: 1 window unit, 2 parent window unit (optional), 3 logical modal.
void LoadWindow(ResultRecord* r, int argc, ArgRecord* args);
// IsWindowLoaded: 1 window unit. Result: logical, true while the window is open.
void IsWindowLoaded(ResultRecord* r, int argc, ArgRecord* args);
// PopupMenu: 1 window unit, 2 menu unit of that window, 3 x (optional), 4 y (optional).
void PopupMenu(ResultRecord* r, int argc, ArgRecord* args);
}  // namespace commands

}  // namespace lw
