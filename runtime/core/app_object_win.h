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

}  // namespace lw
