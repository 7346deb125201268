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

// A row message of the list view commands (insert, set or get an item's text),
// straight to the platform's list view procedure. The runtime's procedures in front
// of the list take no part in row messages, and a handler that appends thousands of
// rows would pass each one through every one of them.
LRESULT SendRowMessage(Unit* unit, UINT msg, WPARAM wp, LPARAM lp);

// Sets an item's check box as the unit itself, past the guard that keeps the
// platform from toggling boxes on its own.
void SetListViewItemChecked(Unit* unit, int item, bool checked);

// Enter in a list view unit with a selected row: the list raises its item-activated
// event, as a double-click on the row does, and keeps the focus. False for any
// other window, or with no row selected.
bool ActivateSelectedRow(HWND hwnd);

}  // namespace lw
