// The program's DLL-command table, installed into the runtime of a test or
// benchmark process that does not start the program image, so application routines
// that call DLL commands by index (the web page request, the code-page conversions)
// can run there.
#pragma once
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/startup/runtime_app_win.h"

namespace lw::testing {

inline void InstallProgramDllTable() {
  const char* libraries[dll::kDllCommandCount];
  const char* exports[dll::kDllCommandCount];
  for (size_t i = 0; i < dll::kDllCommandCount; ++i) {
    libraries[i] = dll::kDllCommands[i].library;
    exports[i] = dll::kDllCommands[i].exportName;
  }
  SetDllCommands(libraries, exports, dll::kDllCommandCount);  // the same table again keeps its bindings
}

}  // namespace lw::testing
