// The seam between the runtime core and the window system. The core owns start-up,
// the loop and shutdown; the window system owns the loaded-window table, live
// windows, events and property access. The window system registers one record of
// routines at start-up; until it does, windows cannot be loaded and the requests
// that need windows answer "not loaded".
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/values/types.h"

namespace lw {

struct WindowSystemOps {
  // Reads the window template section into the loaded-window table and turns every
  // handler entry into a routine address (-1: none; otherwise codeBase + entry, an
  // entry that must lie inside the handler table).
  // False when the section is damaged.
  bool (*readSection)(const uint8_t* data, size_t size, uintptr_t codeBase, size_t handlerTableBytes);
  // Creates a window of the table: 0 when loaded, -1 when not.
  int (*loadWindow)(uint32_t windowId, void* parentUnit, bool modal);
  // True while any loaded window has a live window.
  bool (*anyLiveWindow)();
  // Destroys every live window and the loaded-window table.
  void (*destroyAll)();
  // A new idle period begins: every window may take idle turns again.
  void (*beginIdlePeriod)();
  // Fires the idle event of every loaded window that has not declined in this idle
  // period; true when any handler asked for more idle turns.
  bool (*fireIdle)(uint32_t elapsedMs);
  // Dialog-key and accelerator handling before a message is dispatched (a MSG*);
  // true when the message was consumed.
  bool (*preTranslate)(void* msg);
  // Property access by window id, unit id and property number (service slots 4 and 5).
  uint64_t (*readProperty)(uint32_t windowId, uint32_t unitId, int property, int index);
  void (*writeProperty)(uint32_t windowId, uint32_t unitId, int property, int index, Word low, Word high);
  // Runtime requests that belong to the window system (unit types, windows and
  // events; runtime/core/startup/requests.h names them).
  // Sets *handled to false for codes it does not know.
  intptr_t (*request)(int code, intptr_t arg1, intptr_t arg2, bool* handled);
  // The live platform window of a loaded window (by window id), or null: how the
  // core's commands reach a window, as the owner of a message box.
  void* (*liveWindow)(uint32_t windowId);
  // A screen position in device pixels as the program's 96-DPI units, at the
  // system's scale: how the core reports the pointer's position.
  int (*screenToProgramUnits)(int pixels);
};

void SetWindowSystem(const WindowSystemOps* ops);
const WindowSystemOps* GetWindowSystem();

// Called by the window system whenever a loaded window's live window is destroyed:
// once none is left and the loop has started, the loop is asked to end.
void OnLoadedWindowDestroyed();

// Runs the message loop: mode 0 is the program's main loop; mode 1 is the modal
// loop, which also returns as soon as *modalFlag turns false or a quit is seen
// (the quit is then posted again for the outer loop). Returns the quit code.
int RunMessageLoop(int mode, const volatile bool* modalFlag);

}  // namespace lw
