// The platform side of fatal run-time errors and of the allocator: the ownerless
// error box, and blocks on the process heap.
#include <windows.h>

#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"

namespace lw {
namespace {

void* heapAlloc(size_t n) { return HeapAlloc(GetProcessHeap(), 0, n); }
void* heapResize(void* p, size_t n) { return HeapReAlloc(GetProcessHeap(), 0, p, n); }
void heapFree(void* p) { HeapFree(GetProcessHeap(), 0, p); }

void showFatalError(const char* message, int code, bool showBox) {
  if (showBox) {
    std::string text = BuildRuntimeErrorText(message, code);
    // Task-modal: without an owner a plain box leaves every window of the program
    // usable, and a click there could raise another error and stack another box.
    MessageBoxW(nullptr, Wide(text).c_str(), Wide("错误").c_str(), MB_ICONERROR | MB_TASKMODAL);
  }
  // The application's cleanup routine does not run after a fatal error.
  ForgetCleanupRoutines();
  EndProgram(-1);
}

}  // namespace

void InstallPlatformHooks() {
  SetHeapOps({&heapAlloc, &heapResize, &heapFree});
  SetFatalErrorSink(&showFatalError);
}

}  // namespace lw
