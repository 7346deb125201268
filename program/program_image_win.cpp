// The program image: the information block the runtime reads at start-up, the
// DLL-command table, the runtime libraries, and the entry routine.
#include <windows.h>

#include <array>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/update_notice.h"
#include "program/program_image.h"
#include "program/window_section_data.h"
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/libraries/library_positions.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/ui/windows/system_win.h"

namespace {

using namespace lw;

// The information block keeps the DLL-command table as two parallel columns of names.
using DllColumn = std::array<const char*, dll::kDllCommandCount>;
constexpr DllColumn dllColumn(const char* dll::DllCommandRow::*field) {
  DllColumn column{};
  for (size_t i = 0; i < column.size(); ++i) column[i] = dll::kDllCommands[i].*field;
  return column;
}
constexpr DllColumn kDllLibraries = dllColumn(&dll::DllCommandRow::library);
constexpr DllColumn kDllExports = dllColumn(&dll::DllCommandRow::exportName);

// The runtime libraries, each at its position: unit commands are called by it.
constexpr const LibraryDescriptor* kLibraries[] = {&kCoreLibrary, &kExtendedUnitsLibrary, &kListViewLibrary,
                                                   &kInternetLibrary};
static_assert(sizeof kLibraries / sizeof kLibraries[0] == library_position::Count, "one entry per library");
static_assert(kLibraries[library_position::Core] == &kCoreLibrary &&
                  kLibraries[library_position::ExtendedUnits] == &kExtendedUnitsLibrary &&
                  kLibraries[library_position::ListView] == &kListViewLibrary &&
                  kLibraries[library_position::Internet] == &kInternetLibrary,
              "the library list is in the order of the library positions");

const ProgramInfoBlock kProgramInfo = {
    3, 0, 126803,
    app::kHandlerTable.data(),  // handler entries in the section are byte offsets into it
    &program::kConstants, sizeof program::kConstants,
    lw::program::kWindowSection, lw::program::kWindowSectionLength,
    library_position::Count, kLibraries,
    dll::kDllCommandCount, kDllLibraries.data(), kDllExports.data(),
};

// The application's entry routine: the fixed start-up sequence.
int applicationEntry() {
  kServices.callService(service::InitialiseRuntime);
  // The notice page is read while the start window is made; the window's created
  // handler takes it.
  app::startUpdateNoticeFetch();
  app::InitialiseProgramState();
  kServices.callService(service::RegisterCleanup, &app::CleanupProgramState);
  kServices.loadStartWindow(app::ids::StartWindow);
  kServices.run();
  return 0;
}

const ProgramImage kImage = {&kProgramInfo, &applicationEntry, sizeof app::kHandlerTable};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  lw::InstallWindowSystem();
  return lw::RunApplication(kImage);
}
