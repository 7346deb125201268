// The program's DLL-command table, installed into the runtime of a test or
// benchmark process that does not start the program image, so application routines
// that call DLL commands by index (the web page request, the code-page conversions)
// can run there.
#pragma once
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/startup/runtime_app_win.h"

namespace lw::testing {

inline void InstallProgramDllTable() {
  using dll::kDllCommandCount;
  using dll::kDllCommands;
  const char* marker = kDllCommands[dll::InternetOpen].exportName;
  if (g_app.dllExports.size() == kDllCommandCount && g_app.dllExports[dll::InternetOpen] == marker)
    return;  // already ours
  g_app.dllLibraries.clear();
  g_app.dllExports.clear();
  for (const dll::DllCommandRow& row : kDllCommands) {
    g_app.dllLibraries.push_back(row.library);
    g_app.dllExports.push_back(row.exportName);
  }
  g_app.dllModules.assign(kDllCommandCount, nullptr);
  g_app.dllEntries.assign(kDllCommandCount, nullptr);
}

}  // namespace lw::testing
