// Menus built from a window's menu item records: the menu bar with its accelerator
// table, pop-up menus for a single entry, and the delivery of a chosen item.
#pragma once
#include <windows.h>

#include <cstdint>

namespace lw {

struct WindowRecord;

// Menu command ids are numbered from here, one per menu item record in order.
constexpr UINT kFirstMenuCommand = 20000;

// Builds the menu bar and accelerator table of a window from its menu item records.
// Hidden level-0 entries and everything under them stay off the bar; no visible
// level-0 entry means no menu bar (null).
void BuildMenuBar(const WindowRecord& window, HMENU* bar, HACCEL* accelerators);

// A pop-up menu holding the entries under menu item `itemId` (hidden ones
// included when the entry itself is hidden); null when the id is not a menu item.
HMENU BuildPopupMenu(const WindowRecord& window, uint32_t itemId);

// Raises the event of the menu item behind a command id of window `windowId`.
void DeliverMenuCommand(uint32_t windowId, UINT command);

// Rebuilds and installs the menu bar and accelerators of a loaded window.
void RefreshMenuBar(uint32_t windowId);

}  // namespace lw
