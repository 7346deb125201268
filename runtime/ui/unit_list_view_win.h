// What the list view commands need of a live list view beyond its window.
#pragma once
#include <windows.h>

#include "runtime/ui/unit.h"

namespace lw {

// The platform list view of a list view unit; null for a unit of another kind.
HWND ListViewWindowOf(Unit* unit);

// Holds the list's redrawing back until the current message has been handled: a
// handler that appends thousands of rows then pays for one repaint, not one each.
void HoldListViewRedraw(Unit* unit);

// Sets an item's check box as the unit itself, past the guard that keeps the
// platform from toggling boxes on its own.
void SetListViewItemChecked(Unit* unit, int item, bool checked);

}  // namespace lw
