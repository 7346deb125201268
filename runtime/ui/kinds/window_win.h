// The window unit: the platform window of a loaded window, its state while loaded
// (modal state, menu bar, accelerators, first showing), and its events.
#pragma once
#include <windows.h>

#include <vector>

#include "runtime/ui/kinds/table.h"
#include "runtime/ui/unit.h"

namespace lw {

struct WindowUnitState {
  WindowProps props;
  HBRUSH background = nullptr;
  HMENU menuBar = nullptr;
  HACCEL accelerators = nullptr;
  std::vector<uint32_t> menuCommands;  // command id - 20000 -> menu item id
  bool modal = false;
  volatile bool modalRunning = false;   // the modal loop runs while this is set
  std::vector<HWND> disabledByModal;    // re-enabled when the modal window closes
  bool firstShowPending = false;
  HWND lastFocus = nullptr;             // restored when the window is activated again
  int dpi = 0;                          // the scale it is laid out for; 0 not yet known
};

WindowUnitState* WindowStateOf(Unit* unit);

// Whether a window of border style `border` (1 sizable, 3 sizable tool window, 5
// sizable with a sunken edge) can be resized, and so maximised.
bool IsResizableBorder(int border);


// Re-enables the windows a modal window disabled (once).
void ReleaseModalDisabling(WindowUnitState* state);

// The unit that has the focus inside a loaded window (a control, or the window).
Unit* FocusedUnitOf(HWND window);

// True while a window is being created with the modal flag.
extern bool g_creatingModalWindow;

}  // namespace lw
