// The message loop with its idle phase, idle routines per window, and the idle hook.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/core/startup/app_object_win.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/startup/window_system.h"

namespace lw {
namespace {

struct IdleEntry {
  HWND window;
  void (*routine)(intptr_t);
  intptr_t argument;
};

// The idle routines, one per window, and the state of the current idle period.
struct IdleState {
  std::vector<IdleEntry> routines;
  DWORD startTick = 0;
  bool frameworkPending = false;
};
IdleState g_idle;

}  // namespace

BOOL RuntimePreTranslate(MSG* msg) {
  const WindowSystemOps* ws = GetWindowSystem();
  return ws && ws->preTranslate && ws->preTranslate(msg);
}

// The framework's own idle work; this runtime has none left over.
static BOOL frameworkIdle(LONG) { return FALSE; }

BOOL RuntimeIdleHook(LONG count) {
  const WindowSystemOps* ws = GetWindowSystem();
  if (count == 0) {
    g_idle.startTick = GetTickCount();
    if (ws && ws->beginIdlePeriod) ws->beginIdlePeriod();
    g_idle.frameworkPending = true;
  }
  if (g_idle.frameworkPending) {
    if (!frameworkIdle(count)) g_idle.frameworkPending = false;
    return TRUE;
  }
  if (count > 1) return ws && ws->fireIdle && ws->fireIdle(GetTickCount() - g_idle.startTick);
  return TRUE;
}

void AddIdleRoutine(HWND window, void (*routine)(intptr_t), intptr_t argument) {
  auto& list = g_idle.routines;
  if (std::any_of(list.begin(), list.end(), [&](const IdleEntry& e) { return e.window == window; })) return;
  list.push_back({window, routine, argument});
}

void RemoveIdleRoutine(HWND window) {
  auto& list = g_idle.routines;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const IdleEntry& e) { return e.window == window; }),
             list.end());
}

void ClearIdleRoutines() { g_idle.routines.clear(); }

static void runIdleRoutines() {
  auto& list = g_idle.routines;
  for (size_t i = list.size(); i-- > 0;) {
    if (i >= list.size()) continue;  // a routine removed entries
    if (IsWindow(list[i].window)) {
      IdleEntry e = list[i];
      e.routine(e.argument);
    } else {
      list.erase(list.begin() + ptrdiff_t(i));
    }
  }
}

int RunMessageLoop(int mode, const volatile bool* modalFlag) {
  const AppObjectHooks hooks = {nullptr, &RuntimeIdleHook, &RuntimePreTranslate, nullptr};
  const PumpControl control = {&runIdleRoutines, mode == 1 ? modalFlag : nullptr};
  int quitCode = 0;
  if (!PumpMessages(hooks, control, &quitCode)) return 0;  // the modal window closed
  if (mode == 1) PostQuitMessage(quitCode);  // the outer loop must see it too
  return quitCode;
}

}  // namespace lw
