/* A small library for the DLL-command tests: routines with known argument counts,
   an export reachable by ordinal, and a log line when the library is unloaded. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

static void logLine(const char* line) {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("LW_PROBE_LOG", path, sizeof path)) return;
  FILE* f = fopen(path, "ab");
  if (!f) return;
  fprintf(f, "%s\n", line);
  fclose(f);
}

int __stdcall ProbeAdd2(int a, int b) { return a + b; }
int __stdcall ProbeAdd3(int a, int b, int c) { return a + b + c; }
long long __stdcall ProbeWide(int a) { return ((long long)a << 32) | 0x1234; }
int __stdcall ProbeMarker(void) { return 4242; }

BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID reserved) {
  (void)inst;
  if (reason == DLL_PROCESS_DETACH && reserved == NULL) logLine("library unloaded");
  return TRUE;
}
