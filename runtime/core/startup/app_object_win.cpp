#include "runtime/core/startup/app_object_win.h"

namespace lw {

namespace {
POINT g_lastMousePos = {-1, -1};
UINT g_lastMouseMsg = 0;
}  // namespace

BOOL AppObjectPumpMessage(const AppObjectHooks& hooks, MSG* msg) {
  if (!GetMessageW(msg, nullptr, 0, 0)) return FALSE;
  if (!hooks.preTranslateMessage || !hooks.preTranslateMessage(msg)) {
    TranslateMessage(msg);
    DispatchMessageW(msg);
  }
  return TRUE;
}

BOOL AppObjectIsIdleMessage(const MSG* msg) {
  if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
    // A mouse move to where the mouse already was does not restart idle work.
    if (msg->message == g_lastMouseMsg && msg->pt.x == g_lastMousePos.x && msg->pt.y == g_lastMousePos.y)
      return FALSE;
    g_lastMousePos = msg->pt;
    g_lastMouseMsg = msg->message;
    return TRUE;
  }
  return msg->message != WM_PAINT && msg->message != 0x0118 /* system timer (caret blink) */;
}

bool PumpMessages(const AppObjectHooks& hooks, const PumpControl& control, int* quitCode) {
  auto switchedOff = [&] { return control.keepRunning && !*control.keepRunning; };
  MSG msg;
  LONG idleCount = 0;
  bool idle = true;
  for (;;) {
    while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (control.beforeIdleTurn) control.beforeIdleTurn();
      if (!hooks.onIdle || !hooks.onIdle(idleCount++)) idle = false;
      if (switchedOff()) return false;
    }
    do {
      if (!AppObjectPumpMessage(hooks, &msg)) {
        *quitCode = int(msg.wParam);
        return true;
      }
      if (switchedOff()) return false;
      if (AppObjectIsIdleMessage(&msg)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

int AppObjectMain(const AppObjectHooks& hooks) {
  if (!hooks.initInstance()) return hooks.exitInstance();
  // The framework's own loop, for programs whose initialisation does not run one.
  int quitCode = 0;
  PumpMessages(hooks, {nullptr, nullptr}, &quitCode);
  return hooks.exitInstance();
}

}  // namespace lw
