// The program image: the information block the runtime reads at start-up, the
// DLL-command table, the runtime libraries, and the entry routine.
#include <windows.h>

#include "app/main_window.h"
#include "app/program_state.h"
#include "program/program_image.h"
#include "program/window_section_data.h"
#include "runtime/core/runtime_app_win.h"
#include "runtime/core/service_table.h"
#include "runtime/ui/window_system_win.h"

namespace {

using namespace lw;

// DLL commands by index; compiled code passes the index.
const char* const kDllLibraries[] = {
    "ole32.dll",   "ole32.dll",   "wininet.dll", "wininet.dll",  "wininet.dll",  "wininet.dll",  "wininet.dll",
    "wininet.dll", "wininet.dll", "wininet.dll", "",             "kernel32.dll", "kernel32.dll", "kernel32.dll",
    "wininet.dll",
};
const char* const kDllExports[] = {
    "CoInitialize",      "CoUninitialize",   "InternetOpenA",       "InternetCloseHandle", "InternetConnectA",
    "HttpOpenRequestA",  "HttpSendRequestA", "HttpSendRequestA",    "InternetReadFile",    "HttpQueryInfoA",
    "MultiByteToWideChar", "WideCharToMultiByte", "WideCharToMultiByte", "WideCharToMultiByte",
    "InternetSetOptionA",
};
constexpr int kDllCommandCount = sizeof kDllExports / sizeof kDllExports[0];
static_assert(sizeof kDllLibraries / sizeof kDllLibraries[0] == kDllCommandCount, "one library per DLL command");

const LibraryDescriptor* const kLibraries[] = {&kCoreLibrary, &kExtendedUnitsLibrary, &kListViewLibrary,
                                               &kInternetLibrary};

const ProgramInfoBlock kProgramInfo = {
    3, 0, 126803,
    app::kHandlerTable,  // handler entries in the section are byte offsets into it
    &program::kConstants, sizeof program::kConstants,
    lw::program::kWindowSection, lw::program::kWindowSectionLength,
    4, kLibraries,
    kDllCommandCount, kDllLibraries, kDllExports,
};

constexpr uint32_t kStartWindowId = 0x5201EA05;

// The application's entry routine: the fixed start-up sequence.
int applicationEntry() {
  kServices.callService(service::InitialiseRuntime);
  app::InitialiseProgramState();
  kServices.callService(service::RegisterCleanup, &app::CleanupProgramState);
  kServices.loadStartWindow(kStartWindowId);
  kServices.run();
  return 0;
}

const ProgramImage kImage = {&kProgramInfo, &applicationEntry, sizeof app::kHandlerTable};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  lw::InstallWindowSystem();
  return lw::RunApplication(kImage);
}
