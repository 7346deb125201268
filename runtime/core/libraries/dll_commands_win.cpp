// DLL commands: bound by name on first use per index, cached, and called with a
// check that the routine consumed exactly the declared arguments.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/runtime_error.h"

extern "C" uint64_t lw_call_stdcall(void* entry, int argc, const uint32_t* args, int* stackOk);

namespace lw {
namespace {

// The program's DLL commands: per index the library file name, the exported name,
// and once bound the module and the entry.
struct DllCommandTable {
  std::vector<const char*> libraries;
  std::vector<const char*> exports;
  std::vector<HMODULE> modules;
  std::vector<void*> entries;
};
DllCommandTable g_commands;

// Searched in this order for a command whose library name is empty.
const char* const kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                        "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

// The export to look up: a name, or "#n" for ordinal n (low 16 bits).
LPCSTR exportKey(const char* name) {
  if (name[0] == '#') return MAKEINTRESOURCEA(WORD(strtoul(name + 1, nullptr, 10)));
  return name;
}

// Library paths are the program's texts: the W calls get their UTF-16 form.
HMODULE loadLibrary(const std::string& path) { return LoadLibraryW(Wide(path).c_str()); }

bool fileExists(const std::string& path) {
  DWORD attr = GetFileAttributesW(Wide(path).c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The path of a library of the system directory; empty when the directory is unknown.
std::string inSystemDirectory(const char* name) {
  wchar_t sysDir[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(sysDir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return Gbk(sysDir, n) + "\\" + name;
}

// Loads a system library from the system directory only, never by bare name: the
// platform's search would look beside the program first.
HMODULE loadSystemLibrary(const char* name) {
  std::string path = inSystemDirectory(name);
  return path.empty() ? nullptr : loadLibrary(path);
}

// Loads a library named without a drive. A name that exists in the system directory
// is always taken from there, so a file of a system library's name placed beside the
// program is never loaded in its stead; other names are looked for beside the
// program, then in the module directory, then by the platform's own search.
HMODULE loadRelativeLibrary(const char* name) {
  std::string inSystem = inSystemDirectory(name);
  if (!inSystem.empty() && fileExists(inSystem)) return loadLibrary(inSystem);
  // Beside the program: its folder in UTF-16, whatever GBK can spell of it.
  if (HMODULE m = LoadLibraryW((ThisProgram().folder + L"\\" + Wide(name)).c_str())) return m;
  if (HMODULE m = LoadLibraryW((ThisProgram().moduleFolder + Wide(name)).c_str())) return m;
  return loadLibrary(name);
}

[[noreturn]] void exportNotFound(const char* library, const char* exportName) {
  bool named = library && *library;
  const char* format = named ? error_text::DllExportNotFoundIn : error_text::DllExportNotFound;
  // Room for the format with both names in full: the names are as long as they come.
  std::string msg(strlen(format) + (named ? strlen(library) : 0) + strlen(exportName) + 1, '\0');
  int n = named ? snprintf(&msg[0], msg.size(), format, library, exportName)
                : snprintf(&msg[0], msg.size(), format, exportName);
  msg.resize(n > 0 ? size_t(n) : 0);
  ReportFatalError(msg.c_str(), 0);
}

// Commands may be bound on a background job's thread as well as the main thread:
// one binding runs at a time, and an entry is published only once its module is
// kept, so a caller that finds it bound finds it whole.
SRWLOCK g_bindLock = SRWLOCK_INIT;

void* boundEntry(int index) { return __atomic_load_n(&g_commands.entries[index], __ATOMIC_ACQUIRE); }

// Finds command `index` in its library and keeps the module and entry; null when
// the library or the export is missing.
void* lookUp(int index) {
  const char* library = g_commands.libraries[index];
  LPCSTR key = exportKey(g_commands.exports[index]);
  HMODULE module = nullptr;
  FARPROC entry = nullptr;
  if (!library || !*library) {
    for (const char* sys : kSystemLibraries) {
      HMODULE m = loadSystemLibrary(sys);
      if (!m) continue;
      if ((entry = GetProcAddress(m, key))) {
        module = m;
        break;
      }
      FreeLibrary(m);
    }
  } else {
    module = strchr(library, ':') ? loadLibrary(library) : loadRelativeLibrary(library);
    if (module) entry = GetProcAddress(module, key);
  }
  if (!entry) {
    if (module) FreeLibrary(module);
    return nullptr;
  }
  g_commands.modules[index] = module;
  __atomic_store_n(&g_commands.entries[index], reinterpret_cast<void*>(entry), __ATOMIC_RELEASE);
  return reinterpret_cast<void*>(entry);
}

void* bind(int index) {
  if (index < 0 || size_t(index) >= g_commands.entries.size()) {
    std::string name = "#" + std::to_string(index);
    exportNotFound("", name.c_str());
  }
  AcquireSRWLockExclusive(&g_bindLock);
  void* entry = boundEntry(index);  // another thread may have bound it meanwhile
  if (!entry) entry = lookUp(index);
  ReleaseSRWLockExclusive(&g_bindLock);
  if (!entry) exportNotFound(g_commands.libraries[index], g_commands.exports[index]);
  return entry;
}

}  // namespace

void SetDllCommands(const char* const* libraries, const char* const* exports, uint32_t count) {
  // The same table again keeps what is bound.
  if (g_commands.libraries.size() == count && std::equal(libraries, libraries + count, g_commands.libraries.begin()) &&
      std::equal(exports, exports + count, g_commands.exports.begin()))
    return;
  FreeDllCommandModules();
  g_commands.libraries.assign(libraries, libraries + count);
  g_commands.exports.assign(exports, exports + count);
  g_commands.modules.assign(count, nullptr);
  g_commands.entries.assign(count, nullptr);
}

uint64_t CallDllCommand(int index, int argc, const uint32_t* args) {
  void* entry = index >= 0 && size_t(index) < g_commands.entries.size() ? boundEntry(index) : nullptr;
  if (!entry) entry = bind(index);
  int stackOk = 0;
  uint64_t result = lw_call_stdcall(entry, argc, args, &stackOk);
  if (!stackOk) ReportRuntimeError(error_number::StackDamagedByDllCall);
  return result;
}

void FreeDllCommandModules() {
  for (HMODULE m : g_commands.modules)
    if (m) FreeLibrary(m);
  g_commands.libraries.clear();
  g_commands.exports.clear();
  g_commands.modules.clear();
  g_commands.entries.clear();
}

}  // namespace lw
