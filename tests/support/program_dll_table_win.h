// The program's DLL-command table, installed into the runtime of a test or
// benchmark process that does not start the program image, so application routines
// that call DLL commands by index (the web page request, the code-page conversions)
// can run there.
#pragma once
#include <cstring>

#include "runtime/core/runtime_app_win.h"

namespace lw::testing {

inline void InstallProgramDllTable() {
  static const char* const kLibraries[] = {
      "ole32.dll",   "ole32.dll",   "wininet.dll", "wininet.dll",  "wininet.dll",  "wininet.dll",  "wininet.dll",
      "wininet.dll", "wininet.dll", "wininet.dll", "",             "kernel32.dll", "kernel32.dll", "kernel32.dll",
      "wininet.dll",
  };
  static const char* const kExports[] = {
      "CoInitialize",        "CoUninitialize",      "InternetOpenA",       "InternetCloseHandle", "InternetConnectA",
      "HttpOpenRequestA",    "HttpSendRequestA",    "HttpSendRequestA",    "InternetReadFile",    "HttpQueryInfoA",
      "MultiByteToWideChar", "WideCharToMultiByte", "WideCharToMultiByte", "WideCharToMultiByte",
      "InternetSetOptionA",
  };
  constexpr size_t n = sizeof kExports / sizeof kExports[0];
  if (g_app.dllExports.size() == n && g_app.dllExports[2] == kExports[2]) return;  // already ours
  g_app.dllLibraries.assign(kLibraries, kLibraries + n);
  g_app.dllExports.assign(kExports, kExports + n);
  g_app.dllModules.assign(n, nullptr);
  g_app.dllEntries.assign(n, nullptr);
}

}  // namespace lw::testing
