// The program's real start window for application tests: the embedded template
// section read with the application's handlers, the start window loaded, and small
// helpers to act on its controls the way a user would and to read what they show.
//
// The two window-creation handlers are replaced: the update check and the QR
// display would go to the network, which these tests leave to their own suites.
// Every other binding reaches the application's own handler.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "program/window_section_data.h"
#include "runtime/ui/unit.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/table.h"
#include "tests/support/clipboard_text_win.h"

namespace lw::testing {

inline int g_qrWindowsCreated = 0;

inline HandlerResult skipUpdateCheck(int, const uint32_t*) { return {0, 0}; }
inline HandlerResult countQrWindow(int, const uint32_t*) { return ++g_qrWindowsCreated, HandlerResult{0, 0}; }

inline void PumpMessages(int rounds = 20) {
  MSG msg;
  for (int i = 0; i < rounds; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

inline std::string ClipboardText() {
  std::string out;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) out = p;
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

struct StartWindowTest : ::testing::Test {
  void SetUp() override {
    for (int i = 0; i < app::kHandlerSlotCount; ++i) handlers[i] = app::kHandlerTable[i];
    handlers[app::slot::onStartWindowCreated] = &skipUpdateCheck;
    handlers[app::slot::onQrWindowCreated] = &countQrWindow;
    g_qrWindowsCreated = 0;
    InstallWindowSystem();
    ASSERT_TRUE(ReadLoadedWindows(program::kWindowSection, program::kWindowSectionLength, uintptr_t(handlers),
                                  app::kHandlerTableBytes));
    ASSERT_TRUE(LoadWindowById(app::ids::StartWindow, nullptr, false));
    PumpMessages(4);
  }
  void TearDown() override {
    DestroyAllWindows();
    ClearLoadedWindows();
    app::CleanupProgramState();
  }

  static HWND Control(uint32_t unitId) {
    Unit* u = FindLiveUnit(app::ids::StartWindow, unitId);
    return u ? HWND(u->hwnd) : nullptr;
  }
  static std::string Shown(uint32_t unitId) {
    HWND h = Control(unitId);
    char buffer[4096] = {};
    if (h) GetWindowTextA(h, buffer, sizeof buffer);
    return buffer;
  }
  // Types into an edit box as a paste would: the platform control's text changes.
  static void Type(uint32_t unitId, const std::string& text) {
    SendMessageA(Control(unitId), WM_SETTEXT, 0, LPARAM(text.c_str()));
    PumpMessages(2);
  }
  static void Click(uint32_t buttonId) {
    SendMessageA(Control(buttonId), BM_CLICK, 0, 0);
    PumpMessages(4);
  }

  EventHandler handlers[app::kHandlerSlotCount] = {};
};

}  // namespace lw::testing
