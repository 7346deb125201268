#include "runtime/ui/windows/table.h"

#include <cstdint>

#include "runtime/ui/windows/events.h"

namespace lw {
namespace {
WindowTemplate g_windows;
}

WindowTemplate& LoadedWindows() { return g_windows; }

bool ReadLoadedWindows(const uint8_t* data, size_t size, uintptr_t codeBase, size_t handlerTableBytes) {
  WindowTemplate t;
  TemplateFailure failure;
  const char* reason = nullptr;
  if (!ReadWindowSection(data, size, &t, &failure)) return false;
  // Handler entries are byte offsets of slots in the application's handler table;
  // one outside it, or off a slot, would make an event call an arbitrary address.
  if (!FixUpHandlers(&t, codeBase, handlerTableBytes, sizeof(EventHandler), &reason)) return false;
  g_windows = std::move(t);
  return true;
}

void ClearLoadedWindows() { g_windows.windows.clear(); }

WindowRecord* FindLoadedWindow(uint32_t windowId) { return FindWindowRecord(g_windows, windowId); }

}  // namespace lw
