// The list view's commands (library 3): insert a row, set and get an item's text.
// Argument 1 is the list view unit (low: window id, high: unit id); a unit that is
// not loaded is a fatal run-time error.
#pragma once
#include "runtime/core/values/types.h"

namespace lw::commands {

// InsertRow: 2 position (omitted or negative: at the end), 3 text, 4 image index
// (default -1), 5 check state, 6 indent, 7 item data, all optional. Result: the
// new item's index.
void InsertRow(ResultRecord* r, int argc, ArgRecord* args);
// SetItemText: 2 item index, 3 column (default 0), 4 text (default empty).
void SetItemText(ResultRecord* r, int argc, ArgRecord* args);
// GetItemText: 2 item index, 3 column (default 0). Result: a new text.
void GetItemText(ResultRecord* r, int argc, ArgRecord* args);

}  // namespace lw::commands
