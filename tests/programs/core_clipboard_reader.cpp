// Another reader of the clipboard: writes the plain-text (CF_TEXT) bytes it finds,
// without their terminating NUL, to the file named on the command line.
// Exit codes: 0 written, 1 clipboard busy, 2 no plain text, 3 file not written.
// With the argument "hold" it keeps the clipboard open for a second and a half
// instead, so that others find it busy.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (strcmp(commandLine, "hold") == 0) {
    // Held through a window: a clipboard opened without one is not exclusive on
    // every system.
    HWND holder = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (int i = 0; i < 100 && !OpenClipboard(holder); ++i) Sleep(20);
    Sleep(1500);
    CloseClipboard();
    DestroyWindow(holder);
    return 0;
  }
  // The system's own clipboard bridge may hold the clipboard for a moment.
  bool open = false;
  for (int i = 0; i < 100 && !(open = OpenClipboard(nullptr) != FALSE); ++i) Sleep(20);
  if (!open) return 1;
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (!text) {
    CloseClipboard();
    return 2;
  }
  int code = 3;
  if (FILE* f = fopen(commandLine, "wb")) {
    size_t n = strlen(text);
    if (fwrite(text, 1, n, f) == n) code = 0;
    if (fclose(f) != 0) code = 3;
  }
  GlobalUnlock(data);
  CloseClipboard();
  return code;
}
