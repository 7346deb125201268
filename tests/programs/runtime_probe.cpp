// A program for the start-up and shutdown tests. It carries its own information
// block, library descriptor and a stand-in window system that makes one plain
// window, and behaves as its command line asks. It writes what it observes, in
// order, to the file named by LW_PROBE_LOG.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/startup/window_system.h"

using namespace lw;

namespace {

std::string g_mode;
int g_modeArg = 0;

void logLine(const char* line) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("LW_PROBE_LOG", path, sizeof path)) return;
  FILE* f = fopen(path, "ab");
  if (!f) return;
  fprintf(f, "%s\n", line);
  fclose(f);
}

// --- a stand-in window system: one plain window titled "probe-window"
HWND g_window = nullptr;

DWORD WINAPI endFromThread(LPVOID) {
  kServices.endProgram(g_modeArg);
  return 0;
}

LRESULT CALLBACK probeWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    KillTimer(hwnd, wp);
    if (g_mode == "end") kServices.endProgram(g_modeArg);
    if (g_mode == "cross-thread") {
      CreateThread(nullptr, 0, &endFromThread, nullptr, 0, nullptr);
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    logLine("window destroyed");
    g_window = nullptr;
    OnLoadedWindowDestroyed();
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool readSection(const uint8_t* data, size_t size, uintptr_t codeBase, size_t) {
  logLine("section read");
  return g_mode != "bad-section";
}
int loadWindow(uint32_t id, void*, bool) {
  if (id != 0x5201EA05) return -1;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = probeWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ProbeWindow";
  RegisterClassA(&wc);
  g_window = CreateWindowExA(0, "ProbeWindow", "probe-window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                             nullptr, nullptr, wc.hInstance, nullptr);
  if (g_mode == "end" || g_mode == "cross-thread") SetTimer(g_window, 1, 50, nullptr);
  return g_window ? 0 : -1;
}
bool anyLiveWindow() { return g_window && IsWindow(g_window); }
int g_idleTurns = 0;
bool fireIdle(uint32_t) {
  // The first idle turn closes the window, proving the idle hook reaches the windows.
  if (g_mode == "idle" && g_idleTurns++ == 0) {
    logLine("idle turn");
    PostMessageA(g_window, WM_CLOSE, 0, 0);
  }
  return false;
}
void destroyAll() {
  if (g_window) DestroyWindow(g_window);
}
intptr_t request(int, intptr_t, intptr_t, bool* handled) {
  *handled = false;
  return 0;
}
const WindowSystemOps kProbeWindows = {&readSection, &loadWindow, &anyLiveWindow, &destroyAll, nullptr, &fireIdle,
                                       nullptr,      nullptr,     nullptr,        &request};

// --- a library that logs its notifications and keeps the runtime's callback
RuntimeRequestEntry g_runtime = nullptr;

intptr_t __stdcall probeNotify(int code, intptr_t arg1, intptr_t) {
  if (code == 1) g_runtime = reinterpret_cast<RuntimeRequestEntry>(arg1);
  char line[64];
  snprintf(line, sizeof line, "library notified %d", code);
  logLine(line);
  return code == 1 || code == 6 ? 0 : -1;
}
LibraryDescriptor makeProbeLibrary() {
  LibraryDescriptor d = {};
  d.magic = kLibraryMagic;
  d.notify = &probeNotify;
  return d;
}
const LibraryDescriptor kProbeLibrary = makeProbeLibrary();
const LibraryDescriptor kSilentLibrary = {kLibraryMagic, {}, nullptr, {}};
const LibraryDescriptor* const kLibraries[] = {&kProbeLibrary, &kSilentLibrary};

const char* const kDllLibraries[] = {"probe_dll.dll", "probe_dll.dll", "probe_dll.dll", "probe_dll.dll", "",
                                     "no_such_library.dll", "msimg32.dll", "probe_dll.dll", ""};
const char* const kDllExports[] = {"ProbeAdd2", "ProbeAdd3", "#7", "ProbeWide", "MultiByteToWideChar",
                                   "Anything", "ProbeMarker", "#99", "ProbeMarker"};

const uint8_t kSection[4] = {1, 2, 3, 4};
const char kConstants[16] = "constant";

ProgramInfoBlock g_info = {3,          0, 126803, kSection, kConstants, sizeof kConstants, kSection, sizeof kSection,
                           2,          kLibraries, 9, kDllLibraries, kDllExports};

void cleanup() { logLine("cleanup"); }

uint32_t callDll(int index, std::initializer_list<uint32_t> args) {
  return uint32_t(kServices.callDllCommand(index, int(args.size()), args.begin()));
}

int entry() {
  kServices.callService(service::InitialiseRuntime);
  kServices.callService(service::RegisterCleanup, &cleanup);
  if (g_mode == "cleanup-twice") kServices.callService(service::RegisterCleanup, &cleanup);
  char line[128];
  if (g_mode == "fatal") kServices.reportRuntimeError(g_modeArg);
  if (g_mode == "fatal-over-window") {
    kServices.loadStartWindow(0x5201EA05);
    kServices.reportRuntimeError(g_modeArg);
  }
  if (g_mode == "dll") {
    // Exit with a code that proves each binding worked.
    uint32_t sum = callDll(0, {40, 2});
    uint32_t marker = callDll(2, {});
    uint64_t wide = kServices.callDllCommand(3, 1, std::initializer_list<uint32_t>{5}.begin());
    wchar_t out[8] = {};
    const char* in = "ab";
    uint32_t n = callDll(4, {936, 0, uint32_t(uintptr_t(in)), 2, uint32_t(uintptr_t(out)), 8});
    snprintf(line, sizeof line, "sum %u marker %u wide %llx converted %u %c%c", sum, marker,
             (unsigned long long)wide, n, char(out[0]), char(out[1]));
    logLine(line);
    kServices.endProgram(0);
  }
  if (g_mode == "dll-too-few") callDll(1, {1, 2});  // declared with two, takes three
  if (g_mode == "dll-too-many") callDll(0, {1, 2, 3});
  if (g_mode == "dll-missing-library") callDll(5, {});
  if (g_mode == "dll-planted" || g_mode == "dll-planted-search") {
    snprintf(line, sizeof line, "planted library answered %u", callDll(g_mode == "dll-planted" ? 6 : 8, {}));
    logLine(line);
    kServices.endProgram(3);
  }
  if (g_mode == "dll-bad-ordinal") callDll(7, {});
  if (g_mode == "no-windows") SetWindowSystem(nullptr);
  if (g_mode == "requests") {
    // What library code sees through the runtime's callback entry.
    auto* dir = reinterpret_cast<const char*>(g_runtime(2002, 0, 0));
    auto* file = reinterpret_cast<const char*>(g_runtime(2003, 0, 0));
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);
    auto* block = reinterpret_cast<char*>(g_runtime(2024, 8, 0));
    strcpy(block, "1234567");
    block = reinterpret_cast<char*>(g_runtime(2026, intptr_t(block), 64));
    snprintf(line, sizeof line, "file %s dir-is-cwd %d block %s load %d", file, strcmp(dir, cwd) == 0, block,
             int(g_runtime(2005, 0, 0)));
    logLine(line);
    g_runtime(2025, intptr_t(block), 0);
    SetWindowSystem(nullptr);
    g_runtime(2007, 0x5201EA05, 0);  // a missing unit is fatal
  }
  if (g_mode == "folder") {
    // The program's folder as the platform uses it (the current folder, a library
    // beside the program, a file search built from the folder's text) and as the
    // program reads it.
    wchar_t self[MAX_PATH] = {}, cwd[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (wchar_t* slash = wcsrchr(self, L'\\')) *slash = 0;
    GetCurrentDirectoryW(MAX_PATH, cwd);
    auto* dir = reinterpret_cast<const char*>(g_runtime(2002, 0, 0));
    const char* last = strrchr(dir, '\\');
    const std::string pattern = std::string(dir) + "\\*.dll";
    HANDLE search = nullptr;
    auto* found =
        reinterpret_cast<const char*>(kServices.callService(service::FindNextFile, pattern.c_str(), DWORD(0), 0, &search));
    kServices.callService(service::EndFileSearch, search);
    snprintf(line, sizeof line, "cwd-is-folder %d folder-text %s found %s sum %u", _wcsicmp(self, cwd) == 0,
             last ? last + 1 : dir, found ? found : "-", callDll(0, {40, 2}));
    logLine(line);
    kServices.endProgram(0);
  }
  if (g_mode == "resize-constant") {
    // Resizing constant data yields a fresh copy and leaves the constant untouched.
    char* copy = static_cast<char*>(kServices.resizeMemory(const_cast<char*>(kConstants), 4));
    kServices.freeMemory(const_cast<char*>(kConstants));
    copy[0] = 'X';
    snprintf(line, sizeof line, "copy %.4s constant %s", copy, kConstants);
    logLine(line);
    kServices.freeMemory(copy);
    kServices.endProgram(0);
  }
  kServices.loadStartWindow(0x5201EA05);
  logLine("loop starts");
  kServices.run();
  logLine("loop ended");
  return 0;
}

const ProgramImage kImage = {&g_info, &entry, 0};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
  char mode[64] = {};
  sscanf(cmdLine, "%63s %d", mode, &g_modeArg);
  g_mode = mode;
  if (g_mode == "fatal") g_info.libraryCount = 0;
  SetWindowSystem(&kProbeWindows);
  return RunApplication(kImage);
}
