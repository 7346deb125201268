// The binder behind the late-bound platform routines (late_imports_i686.S): the
// routine's library is loaded (once; it stays for the life of the process), the
// routine looked up and stored where every later call finds it.
#include <windows.h>

#include <cstdio>

namespace {

struct LateImport {
  void** slot;
  const char* library;
  const char* name;
};

}  // namespace

extern "C" void* lw_bind_late_import(const LateImport* import) {
  HMODULE library = LoadLibraryA(import->library);
  void* routine = library ? reinterpret_cast<void*>(GetProcAddress(library, import->name)) : nullptr;
  if (!routine) {
    // A system that lacks it would have refused to start a program importing it
    // directly; the program ends here in the same way, naming what is missing.
    char text[160];
    snprintf(text, sizeof text, "%s: %s", import->library, import->name);
    FatalAppExitA(0, text);
  }
  // Two threads binding the same routine store the same address.
  InterlockedExchangePointer(import->slot, routine);
  return routine;
}
