// Creating a live window from its record, and loading windows on request.
#pragma once
#include <windows.h>

#include <cstdint>

namespace lw {

struct WindowRecord;

// Creates the live window of a record with all its units. `reuse` 0: a window that
// is already loaded is only brought to the front. A modal window ignores `parent`;
// otherwise a parent that is not a window makes the call fail.
bool CreateWindowFromRecord(WindowRecord* window, int reuse, bool modal, HWND parent);

// Loads a window of the table by id (the core command and runtime request 2005):
// creates it and completes its first showing; a visible modal window runs the
// modal loop until it closes. False when the id is unknown or creation fails.
bool LoadWindowById(uint32_t windowId, HWND parent, bool modal);

// The first showing of a window created invisible, when its visible property is
// set: shown, focus event, and the modal loop for a modal window.
void CompleteFirstShowing(WindowRecord* window);

// Destroys every live window (shutdown).
void DestroyAllWindows();
bool AnyLiveWindow();

}  // namespace lw
