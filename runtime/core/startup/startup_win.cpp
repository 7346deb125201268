// Start-up from the program information block, the entry into the application,
// the cleanup-routine list, and the ordered shutdown.
#include <ole2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "runtime/core/startup/app_object_win.h"
#include "runtime/core/startup/background_job_win.h"
#include "runtime/core/startup/guarded_procedure_win.h"
#include "runtime/core/startup/private_messages.h"
#include "runtime/core/startup/program_path.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"

namespace lw {

namespace {

// What start-up and shutdown keep for the process.
struct StartupState {
  const ProgramInfoBlock* info = nullptr;
  HANDLE processHeap = nullptr;
  uint32_t buildKind = 0;
  uint32_t reserved[2] = {0, 0};
  MainThread main;
  std::vector<void (*)()> cleanupRoutines;
  // Made when first needed (EnsureHiddenOwner); another thread asking the program
  // to end reads it, so it is published atomically.
  std::atomic<HWND> hiddenOwner{nullptr};
  bool shutdownStarted = false;
  bool loopStarted = false;
};
StartupState g_startup;
ProgramPlace g_place;

}  // namespace

const ProgramPlace& ThisProgram() { return g_place; }
MainThread CurrentMainThread() { return g_startup.main; }
void SetMainThread(const MainThread& main) { g_startup.main = main; }
void ForgetCleanupRoutines() { g_startup.cleanupRoutines.clear(); }

void RunCleanupRoutines() {
  for (size_t i = 0; i < g_startup.cleanupRoutines.size(); ++i) g_startup.cleanupRoutines[i]();
  g_startup.cleanupRoutines.clear();
}

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
  g_startup.hiddenOwner = CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
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
  g_startup.info = &info;
  g_startup.processHeap = GetProcessHeap();
  g_startup.buildKind = info.buildKind;
  g_startup.reserved[0] = info.reserved1;
  g_startup.reserved[1] = info.reserved2;
  const ProgramLocation at = programLocation();
  g_place.folder.assign(at.folder.begin(), at.folder.end());
  g_place.folderText = at.folderText;
  g_place.fileNameText = at.fileNameText;
  SetCurrentDirectoryW(g_place.folder.c_str());
  g_startup.main.threadId = GetCurrentThreadId();
  if (info.constLength > 0) SetConstantArea(info.constStart, info.constLength);
  if (info.dllCommandCount > 0) SetDllCommands(info.dllLibraryNames, info.dllExportNames, info.dllCommandCount);
  NotifyLibrariesStart(info);
  if (info.sectionLength > 0) {
    const WindowSystemOps* ws = GetWindowSystem();
    if (!ws || !ws->readSection(info.sectionStart, info.sectionLength, uintptr_t(info.codeBase),
                                g_image->handlerTableBytes))
      ReportFatalError(error_text::WindowSectionDamaged, 0);
  }
}

void StartOle() {
  if (g_startup.main.oleStarted || GetCurrentThreadId() != g_startup.main.threadId) return;
  OleInitialize(nullptr);  // a failure is not checked: the flag is set regardless
  g_startup.main.oleStarted = true;
}

void RegisterCleanupRoutine(void (*routine)()) {
  auto& list = g_startup.cleanupRoutines;
  if (std::find(list.begin(), list.end(), routine) == list.end()) list.push_back(routine);
}

void EnsureHiddenOwner() {
  if (!g_startup.hiddenOwner && GetCurrentThreadId() == g_startup.main.threadId) createHiddenOwner();
}

void LoadStartWindow(uint32_t windowId) {
  const WindowSystemOps* ws = GetWindowSystem();
  if (!ws || ws->loadWindow(windowId, nullptr, false) != 0) ReportFatalError(error_text::StartWindowNotLoaded, 0);
  EnsureHiddenOwner();
}

void Run() {
  g_startup.loopStarted = true;
  const WindowSystemOps* ws = GetWindowSystem();
  if (ws && ws->anyLiveWindow()) RunMessageLoop(0, nullptr);
}

void OnLoadedWindowDestroyed() {
  const WindowSystemOps* ws = GetWindowSystem();
  if (g_startup.loopStarted && !g_startup.shutdownStarted && !(ws && ws->anyLiveWindow())) PostQuitMessage(0);
}

void Shutdown(int exitCode) {
  if (g_startup.main.threadId && GetCurrentThreadId() != g_startup.main.threadId) {
    // Another thread never runs the shutdown itself: it asks the main thread.
    if (HWND owner = g_startup.hiddenOwner) SendMessageW(owner, private_message::EndRequest, WPARAM(exitCode), 0);
    if (!g_startup.shutdownStarted) ExitProcess(UINT(exitCode));
    return;
  }
  if (g_startup.shutdownStarted) return;
  g_startup.shutdownStarted = true;
  ClearIdleRoutines();
  if (const WindowSystemOps* ws = GetWindowSystem()) ws->destroyAll();
  RunCleanupRoutines();
  NotifyLibrariesShutdown();
  // A background job still waiting inside a library (a page that has not come)
  // keeps the libraries and the command table; the process then ends here, so
  // that the job never sees the program's statics torn down.
  const bool jobAbandoned = BackgroundJobsRunning();
  if (!jobAbandoned) FreeDllCommandModules();
  ClearConstantArea();
  if (HWND owner = g_startup.hiddenOwner; owner && IsWindow(owner)) DestroyWindow(owner);
  g_startup.hiddenOwner = nullptr;
  if (g_startup.main.oleStarted) {
    OleUninitialize();
    g_startup.main.oleStarted = false;
  }
  if (jobAbandoned) ExitProcess(UINT(exitCode));
}

void EndProgram(int exitCode) {
  bool otherThread = g_startup.main.threadId && GetCurrentThreadId() != g_startup.main.threadId;
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
  g_place.moduleFolder.assign(at.folder.begin(), at.folder.end());
  g_place.moduleFolder += L'\\';
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
