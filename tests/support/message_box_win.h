// Finds a message box on the screen (of this or another process), reads its caption
// and text, and answers it: the way a person would see and close it.
#pragma once
#include <windows.h>

#include <string>

namespace lw::testing {

struct SeenMessageBox {
  bool found = false;
  HWND owner = nullptr;
  std::string caption;
  std::string text;
  LONG exStyle = 0;
};

// Waits up to `timeoutMs` for a visible dialog-class window with a static text; when
// `caption` is given only a box with that caption counts. Then presses the button
// with `buttonId` (IDOK, IDYES, ...).
SeenMessageBox AnswerMessageBox(int buttonId, DWORD timeoutMs = 10000, const char* caption = nullptr);

// Runs a program of the build directory with arguments and waits for it to end;
// while it runs, `whileRunning` may interact with it. Returns the exit code, or
// 0xDEAD when it did not end in time (it is then terminated).
DWORD RunProgram(const std::string& commandLine, DWORD timeoutMs = 20000,
                 void (*whileRunning)(void* context) = nullptr, void* context = nullptr);

// Path of a file beside the test program.
std::string BesideTests(const char* name);

// Reads a whole file; empty when it does not exist.
std::string ReadWholeFile(const std::string& path);

// Finds a top-level window by title, waiting up to `timeoutMs`.
HWND WaitForWindow(const char* title, DWORD timeoutMs = 10000);

}  // namespace lw::testing
