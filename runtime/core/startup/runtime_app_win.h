// The runtime's whole state: one application object, built before the program's
// main routine runs. Platform header: only _win.cpp files include it.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/startup/program_info.h"

namespace lw {

// The class of the runtime's hidden top-level window, which owns the program's
// windows and answers the end request (private_messages.h).
constexpr wchar_t kHiddenOwnerClass[] = L"_QX_HideOwner";

struct IdleEntry {
  HWND window;
  void (*routine)(intptr_t);
  intptr_t argument;
};

struct RuntimeApp {
  HANDLE processHeap = nullptr;
  uint32_t buildKind = 0;
  uint32_t reserved[2] = {0, 0};
  // The program's folder as the platform knows it (UTF-16, without a trailing
  // separator): the current folder, and where libraries beside the program are.
  std::wstring programFolder;
  std::string programDirectory;  // the folder as a text, "?" for what GBK cannot hold
  std::string programFileName;
  std::wstring moduleFolder;     // with its trailing backslash
  bool oleStarted = false;
  DWORD mainThreadId = 0;
  const ProgramInfoBlock* info = nullptr;
  // DLL commands: per index the library file name, exported name, module, entry.
  std::vector<const char*> dllLibraries;
  std::vector<const char*> dllExports;
  std::vector<HMODULE> dllModules;
  std::vector<void*> dllEntries;
  // Runtime libraries and the word each may set for itself.
  std::vector<const LibraryDescriptor*> libraries;
  std::vector<intptr_t> libraryWords;
  std::vector<IdleEntry> idleRoutines;
  std::vector<void (*)()> cleanupRoutines;
  // Made when first needed (EnsureHiddenOwner); another thread asking the program
  // to end reads it, so it is published atomically.
  std::atomic<HWND> hiddenOwner{nullptr};
  bool shutdownStarted = false;
  bool loopStarted = false;
  // Idle hook state for the current idle period.
  DWORD idleStartTick = 0;
  bool frameworkIdlePending = false;
};

extern RuntimeApp g_app;

// Start-up and shutdown (startup_win.cpp).
void InitialiseRuntime();
void RegisterCleanupRoutine(void (*routine)());
// OLE on the main thread, started the first time the program needs it (an
// automation object, the accessibility server, the shell, the save dialog) rather
// than with every start: its libraries are bound on first use
// (late_imports_i686.S), and a start that needs none of it never loads them.
// Does nothing on another thread.
void StartOle();
void LoadStartWindow(uint32_t windowId);
// The hidden owner, the window another thread sends the request to end to, made on
// the main thread when first needed: once the start window has loaded, or when the
// main thread waits for a background job that may send it. It is not made with
// the runtime's start: the program's first window costs the most of any (the
// platform readies its display for the process), and the start window pays that
// cost once instead of a window nothing shows. A thread that asks before it
// exists ends the process itself.
void EnsureHiddenOwner();
void Run();
void Shutdown(int exitCode);
[[noreturn]] void EndProgram(int exitCode);
int RunApplication(const ProgramImage& image);

// Idle routines, one per window handle (message_loop_win.cpp).
void AddIdleRoutine(HWND window, void (*routine)(intptr_t), intptr_t argument);
void RemoveIdleRoutine(HWND window);

// Runtime libraries (libraries_win.cpp).
void NotifyLibrariesStart();
void NotifyLibrariesShutdown();
intptr_t __stdcall RuntimeRequest(int code, intptr_t arg1, intptr_t arg2);

// DLL commands (dll_commands_win.cpp).
uint64_t CallDllCommand(int index, int argc, const uint32_t* args);
void FreeDllCommandModules();

// The fatal error box and the platform heap (fatal_error_win.cpp).
void InstallPlatformHooks();

}  // namespace lw

namespace lw {
// The runtime libraries the program lists in its information block.
extern const LibraryDescriptor kCoreLibrary;
extern const LibraryDescriptor kExtendedUnitsLibrary;
extern const LibraryDescriptor kListViewLibrary;
extern const LibraryDescriptor kInternetLibrary;
}  // namespace lw
