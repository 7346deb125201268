#include "tests/support/message_box_win.h"

#include <cstdio>

namespace lw::testing {
namespace {

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK findBox(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  if (!GetDlgItem(hwnd, 0xFFFF)) return TRUE;  // a message box holds its text in static 0xFFFF
  if (s->caption) {
    char cap[256] = {};
    GetWindowTextA(hwnd, cap, sizeof cap);
    if (strcmp(cap, s->caption) != 0) return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

std::string windowText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(size_t(n) + 1, '\0');
  GetWindowTextA(hwnd, &s[0], n + 1);
  s.resize(strlen(s.c_str()));
  return s;
}

}  // namespace

SeenMessageBox AnswerMessageBox(int buttonId, DWORD timeoutMs, const char* caption) {
  SeenMessageBox seen;
  DWORD start = GetTickCount();
  Search s = {caption, nullptr};
  while (!s.found && GetTickCount() - start < timeoutMs) {
    EnumWindows(findBox, LPARAM(&s));
    if (!s.found) Sleep(50);
  }
  if (!s.found) return seen;
  seen.found = true;
  seen.owner = GetWindow(s.found, GW_OWNER);
  seen.caption = windowText(s.found);
  seen.text = windowText(GetDlgItem(s.found, 0xFFFF));
  seen.exStyle = GetWindowLongA(s.found, GWL_EXSTYLE);
  PostMessageA(s.found, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), LPARAM(GetDlgItem(s.found, buttonId)));
  return seen;
}

std::string BesideTests(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  char* slash = strrchr(path, '\\');
  if (slash) slash[1] = 0;
  return std::string(path) + name;
}

DWORD RunProgram(const std::string& commandLine, DWORD timeoutMs, void (*whileRunning)(void*), void* context) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xBAD;
  if (whileRunning) whileRunning(context);
  DWORD code = 0xDEAD;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    TerminateProcess(pi.hProcess, 0xDEAD);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::string ReadWholeFile(const std::string& path) {
  std::string out;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  fclose(f);
  return out;
}

HWND WaitForWindow(const char* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND h = FindWindowA(nullptr, title)) return h;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(30);
  }
}

}  // namespace lw::testing
