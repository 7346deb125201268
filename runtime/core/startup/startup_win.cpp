// Start-up from the program information block, the entry into the application,
// the cleanup-routine list, and the ordered shutdown.
#include <ole2.h>
#include <windows.h>

#include <algorithm>

#include "runtime/core/startup/app_object_win.h"
#include "runtime/core/startup/background_job_win.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/startup/private_messages.h"
#include "runtime/core/startup/program_path.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/values/runtime_error.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/startup/window_system.h"

namespace lw {

RuntimeApp g_app;

namespace {

const ProgramImage* g_image = nullptr;

LRESULT CALLBACK hiddenOwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == private_message::EndRequest) EndProgram(int(wp));
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void createHiddenOwner() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &Guarded<hiddenOwnerProc>;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = SystemCursor(IDC_ARROW);
  wc.hbrBackground = HBRUSH(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kHiddenOwnerClass;
  RegisterClassW(&wc);
  g_app.hiddenOwner = CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      wc.hInstance, nullptr);
}

// Where the program lies, from its own path in UTF-16. No short form is looked
// for: a volume may have none, and the platform takes the UTF-16 path whole.
ProgramLocation programLocation() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, &path[0], DWORD(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
  return LocateProgram(std::u16string(path.begin(), path.end()));
}

}  // namespace

void InitialiseRuntime() {
  const ProgramInfoBlock& info = *g_image->info;
  g_app.info = &info;
  g_app.processHeap = GetProcessHeap();
  g_app.buildKind = info.buildKind;
  g_app.reserved[0] = info.reserved1;
  g_app.reserved[1] = info.reserved2;
  const ProgramLocation at = programLocation();
  g_app.programFolder.assign(at.folder.begin(), at.folder.end());
  g_app.programDirectory = at.folderText;
  g_app.programFileName = at.fileNameText;
  SetCurrentDirectoryW(g_app.programFolder.c_str());
  g_app.mainThreadId = GetCurrentThreadId();
  if (info.constLength > 0) SetConstantArea(info.constStart, info.constLength);
  if (info.dllCommandCount > 0) {
    uint32_t n = info.dllCommandCount;
    g_app.dllLibraries.assign(info.dllLibraryNames, info.dllLibraryNames + n);
    g_app.dllExports.assign(info.dllExportNames, info.dllExportNames + n);
    g_app.dllModules.assign(n, nullptr);
    g_app.dllEntries.assign(n, nullptr);
  }
  NotifyLibrariesStart();
  if (info.sectionLength > 0) {
    const WindowSystemOps* ws = GetWindowSystem();
    if (!ws || !ws->readSection(info.sectionStart, info.sectionLength, uintptr_t(info.codeBase),
                                g_image->handlerTableBytes))
      ReportFatalError(error_text::WindowSectionDamaged, 0);
  }
}

void StartOle() {
  if (g_app.oleStarted || GetCurrentThreadId() != g_app.mainThreadId) return;
  OleInitialize(nullptr);  // a failure is not checked: the flag is set regardless
  g_app.oleStarted = true;
}

void RegisterCleanupRoutine(void (*routine)()) {
  auto& list = g_app.cleanupRoutines;
  if (std::find(list.begin(), list.end(), routine) == list.end()) list.push_back(routine);
}

void EnsureHiddenOwner() {
  if (!g_app.hiddenOwner && GetCurrentThreadId() == g_app.mainThreadId) createHiddenOwner();
}

void LoadStartWindow(uint32_t windowId) {
  const WindowSystemOps* ws = GetWindowSystem();
  if (!ws || ws->loadWindow(windowId, nullptr, false) != 0) ReportFatalError(error_text::StartWindowNotLoaded, 0);
  EnsureHiddenOwner();
}

void Run() {
  g_app.loopStarted = true;
  const WindowSystemOps* ws = GetWindowSystem();
  if (ws && ws->anyLiveWindow()) RunMessageLoop(0, nullptr);
}

void OnLoadedWindowDestroyed() {
  const WindowSystemOps* ws = GetWindowSystem();
  if (g_app.loopStarted && !g_app.shutdownStarted && !(ws && ws->anyLiveWindow())) PostQuitMessage(0);
}

void Shutdown(int exitCode) {
  if (g_app.mainThreadId && GetCurrentThreadId() != g_app.mainThreadId) {
    // Another thread never runs the shutdown itself: it asks the main thread.
    if (HWND owner = g_app.hiddenOwner) SendMessageW(owner, private_message::EndRequest, WPARAM(exitCode), 0);
    if (!g_app.shutdownStarted) ExitProcess(UINT(exitCode));
    return;
  }
  if (g_app.shutdownStarted) return;
  g_app.shutdownStarted = true;
  g_app.idleRoutines.clear();
  if (const WindowSystemOps* ws = GetWindowSystem()) ws->destroyAll();
  for (size_t i = 0; i < g_app.cleanupRoutines.size(); ++i) g_app.cleanupRoutines[i]();
  g_app.cleanupRoutines.clear();
  NotifyLibrariesShutdown();
  // A background job still waiting inside a library (a page that has not come)
  // keeps the libraries and the command table; the process then ends here, so
  // that the job never sees the program's statics torn down.
  const bool jobAbandoned = BackgroundJobsRunning();
  if (!jobAbandoned) FreeDllCommandModules();
  ClearConstantArea();
  if (HWND owner = g_app.hiddenOwner; owner && IsWindow(owner)) DestroyWindow(owner);
  g_app.hiddenOwner = nullptr;
  if (g_app.oleStarted) {
    OleUninitialize();
    g_app.oleStarted = false;
  }
  if (jobAbandoned) ExitProcess(UINT(exitCode));
}

void EndProgram(int exitCode) {
  bool otherThread = g_app.mainThreadId && GetCurrentThreadId() != g_app.mainThreadId;
  Shutdown(exitCode);
  if (otherThread) {
    // The main thread is ending the process; this thread waits for it.
    for (;;) Sleep(INFINITE);
  }
  ExitProcess(UINT(exitCode));
}

namespace {

BOOL initInstanceHook() {
  const ProgramLocation at = programLocation();
  g_app.moduleFolder.assign(at.folder.begin(), at.folder.end());
  g_app.moduleFolder += L'\\';
  return g_image->entry();
}

int exitInstanceHook() {
  Shutdown(0);
  return 0;
}

}  // namespace

BOOL RuntimeIdleHook(LONG count);
BOOL RuntimePreTranslate(MSG* msg);

int RunApplication(const ProgramImage& image) {
  g_image = &image;
  InstallPlatformHooks();
  AppObjectHooks hooks = {&initInstanceHook, &RuntimeIdleHook, &RuntimePreTranslate, &exitInstanceHook};
  return AppObjectMain(hooks);
}

}  // namespace lw
