// The one message pump that the framework's loop and the runtime's modal loop
// share: what ends it, and what it leaves in the queue for a loop outside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/startup/app_object_win.h"

namespace lw {
namespace {

constexpr UINT kPlain = WM_USER + 1;      // any message of the test's own
constexpr UINT kSwitchOff = WM_USER + 2;  // its handler ends the modal run, as closing a modal window does

struct PumpRun {
  std::vector<UINT> seen;  // the runtime's messages, in the order the pump handed them over
  volatile bool running = true;
  bool offWhenIdle = false;  // the work before an idle turn ends the run
};
PumpRun* g_run = nullptr;

BOOL handOver(MSG* m) {
  if (m->message == kPlain || m->message == kSwitchOff) g_run->seen.push_back(m->message);
  if (m->message == kSwitchOff) g_run->running = false;
  return TRUE;
}
BOOL noMoreIdle(LONG) { return FALSE; }
void beforeIdle() {
  if (g_run->offWhenIdle) g_run->running = false;
}

struct PumpCase {
  const char* why;
  std::vector<UINT> posted;  // before them all; a quit with code 7 follows unless `quit` is false
  bool quit;
  bool withSwitch;  // a modal run's switch; without it, the framework's loop
  bool offWhenIdle;
  bool endsByQuit;  // else by the switch
  std::vector<UINT> seen;
};

const PumpCase kCases[] = {
    {"a quit ends the pump with its code, after every message before it", {kPlain, kPlain}, true, true, false, true,
     {kPlain, kPlain}},
    {"a switch turned off by a message ends the pump at once, leaving the quit to the outer loop",
     {kSwitchOff, kPlain}, true, true, false, false, {kSwitchOff}},
    {"a switch turned off before an idle turn ends the pump after that turn", {}, false, true, true, false, {}},
    {"without a switch only a quit ends the pump", {kSwitchOff, kPlain}, true, false, false, true,
     {kSwitchOff, kPlain}},
};

TEST(MessagePump, EndsByQuitOrByItsSwitchAndLeavesTheRestQueued) {
  const AppObjectHooks hooks = {nullptr, &noMoreIdle, &handOver, nullptr};
  for (const PumpCase& c : kCases) {
    PumpRun run;
    run.offWhenIdle = c.offWhenIdle;
    g_run = &run;
    for (UINT m : c.posted) PostThreadMessageW(GetCurrentThreadId(), m, 0, 0);
    if (c.quit) PostQuitMessage(7);
    int quitCode = 0;
    const bool byQuit = PumpMessages(hooks, {&beforeIdle, c.withSwitch ? &run.running : nullptr}, &quitCode);
    EXPECT_EQ(byQuit, c.endsByQuit) << c.why;
    EXPECT_EQ(quitCode, byQuit ? 7 : 0) << c.why;
    EXPECT_EQ(run.seen, c.seen) << c.why;
    // What the pump left is still queued; the quit among it when the switch ended the run.
    bool quitLeft = false;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) quitLeft = quitLeft || m.message == WM_QUIT;
    EXPECT_EQ(quitLeft, c.quit && !byQuit) << c.why;
    g_run = nullptr;
  }
}

}  // namespace
}  // namespace lw
