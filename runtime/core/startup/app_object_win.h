// The small application-object layer the runtime sits on: four hooks and the
// message pump, in place of a GUI framework.
#pragma once
#include <windows.h>

namespace lw {

struct AppObjectHooks {
  BOOL (*initInstance)();             // start-up; FALSE: no framework loop, go to exit
  BOOL (*onIdle)(LONG count);         // idle processing; TRUE asks for more turns
  BOOL (*preTranslateMessage)(MSG*);  // TRUE: the message was handled
  int (*exitInstance)();              // shutdown; its result is the exit code
};

// Runs the hooks in the framework's order: initialise; when that declines, go
// straight to exit; otherwise pump messages with idle processing until quit.
int AppObjectMain(const AppObjectHooks& hooks);

// Takes one message and dispatches it (pre-translate first). FALSE on WM_QUIT;
// the message taken is left in *msg.
BOOL AppObjectPumpMessage(const AppObjectHooks& hooks, MSG* msg);

// True when idle processing should run again after this message (not for a
// repeated mouse move, a paint or the system timer).
BOOL AppObjectIsIdleMessage(const MSG* msg);

// What the message pump does besides taking messages: work before each idle turn,
// and a switch that ends the pump when it turns off (a modal loop's).
struct PumpControl {
  void (*beforeIdleTurn)();          // may be null
  const volatile bool* keepRunning;  // null: only WM_QUIT ends the pump
};

// The one message pump: while the queue is empty, idle turns (hooks.onIdle) until
// it asks for no more; then every message in the queue, pre-translated and
// dispatched; again until WM_QUIT or until *keepRunning turns false, which is
// looked at after every idle turn and every message. True on WM_QUIT, with its
// exit code in *quitCode; false when the switch turned off.
bool PumpMessages(const AppObjectHooks& hooks, const PumpControl& control, int* quitCode);

}  // namespace lw
