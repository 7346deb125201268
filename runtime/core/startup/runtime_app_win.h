// The runtime's start-up and what the rest of the core reads of it: where the
// program is, its main thread, and the routines of the loop, the libraries and the
// DLL commands, each of which keeps its own state. Platform header: only _win.cpp
// files include it.
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

// Where the program is: its folder as the platform knows it (UTF-16, without a
// trailing separator), which is the current folder and where libraries beside the
// program are; the folder and file name as texts ("?" for what GBK cannot hold); and
// the runtime module's folder, with its trailing backslash. Set once at start-up.
struct ProgramPlace {
  std::wstring folder;
  std::string folderText;
  std::string fileNameText;
  std::wstring moduleFolder;
};
const ProgramPlace& ThisProgram();

// The thread the runtime counts as its main one, and whether OLE has been started on
// it. A host that runs parts of the runtime without its start-up (a benchmark, a
// test) names its own thread.
struct MainThread {
  DWORD threadId = 0;
  bool oleStarted = false;
};
MainThread CurrentMainThread();
void SetMainThread(const MainThread& main);

// Start-up and shutdown (startup_win.cpp).
void InitialiseRuntime();
void RegisterCleanupRoutine(void (*routine)());
// Runs the cleanup routines once, in the order registered (shutdown), or drops them
// unrun (the fatal error box, which ends the process).
void RunCleanupRoutines();
void ForgetCleanupRoutines();
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
void ClearIdleRoutines();

// Runtime libraries (libraries_win.cpp).
void NotifyLibrariesStart(const ProgramInfoBlock& info);
void NotifyLibrariesShutdown();
intptr_t __stdcall RuntimeRequest(int code, intptr_t arg1, intptr_t arg2);

// DLL commands (dll_commands_win.cpp).
// The program's commands by index: library file names and exported names ("#n" for
// ordinal n), bound on first use.
void SetDllCommands(const char* const* libraries, const char* const* exports, uint32_t count);
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
