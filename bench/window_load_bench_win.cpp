// Reading the window section and creating the start window with all its units,
// against a plain program that makes the same windows with direct platform calls.
// Baseline: CreateWindowEx for the window and its eleven controls ("STATIC" for the
// labels, "EDIT", "BUTTON", a group box, "SysListView32" with its two columns) at
// the same geometry. Each round creates and destroys; median of 31 rounds.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "program/window_section_data.h"
#include "runtime/ui/events.h"
#include "runtime/ui/window_loader_win.h"
#include "runtime/ui/window_system_win.h"
#include "runtime/ui/window_table.h"
#include "bench/bench_clock.h"

using namespace lw;

namespace {

constexpr int kRounds = 31;

HandlerResult nothing(int, const uint32_t*) { return {0, 0}; }
const EventHandler kHandlers[7] = {&nothing, &nothing, &nothing, &nothing, &nothing, &nothing, &nothing};

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

LRESULT CALLBACK plainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void plainStartWindow() {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HWND w = CreateWindowExA(WS_EX_CONTROLPARENT, "PlainWindow", "Linkwright",
                           WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 400, 100, 400, 504, nullptr,
                           nullptr, inst, nullptr);
  auto child = [&](HWND parent, const char* cls, const char* text, DWORD style, DWORD ex, int x, int y, int cx,
                   int cy, int id) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, cx, cy, parent,
                             HMENU(INT_PTR(id)), inst, nullptr);
    SendMessageA(c, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
  };
  child(w, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 108, 8, 272, 24, 100);
  child(w, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 80, 368,
        128, 110);
  child(w, "STATIC", "说说或者日志地址", SS_LEFT, 0, 3, 7, 98, 24, 120);
  child(w, "BUTTON", "生成识别链接", BS_PUSHBUTTON | WS_TABSTOP, 0, 24, 38, 144, 32, 130);
  child(w, "STATIC", "提示：", SS_LEFT, 0, 24, 208, 320, 32, 140);
  child(w, "BUTTON", "显示二维码", BS_PUSHBUTTON | WS_TABSTOP, 0, 192, 39, 144, 32, 150);
  HWND group = child(w, "BUTTON", "", BS_GROUPBOX, 0, 0, 232, 384, 216, 160);
  HWND list = child(group, WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 8, 368,
                    168, 170);
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.pszText = const_cast<char*>("日志");
  col.cx = 250;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, LPARAM(&col));
  col.pszText = const_cast<char*>("ID");
  col.cx = 150;
  SendMessageA(list, LVM_INSERTCOLUMNA, 1, LPARAM(&col));
  child(group, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 60, 182, 156, 24, 180);
  child(group, "BUTTON", "获取", BS_PUSHBUTTON | WS_TABSTOP, 0, 237, 183, 104, 24, 190);
  child(group, "STATIC", "QQ号：", SS_LEFT, 0, 16, 181, 32, 32, 200);
  ShowWindow(w, SW_SHOW);
  pump();
  DestroyWindow(w);
  pump();
}

void ourStartWindow() {
  ReadLoadedWindows(program::kWindowSection, program::kWindowSectionLength, uintptr_t(kHandlers), sizeof kHandlers);
  LoadWindowById(0x5201EA05, nullptr, false);
  pump();
  DestroyAllWindows();
  pump();
  ClearLoadedWindows();
}

}  // namespace

int main() {
  InstallWindowSystem();
  WNDCLASSA wc = {};
  wc.lpfnWndProc = plainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "PlainWindow";
  RegisterClassA(&wc);
  ourStartWindow();  // first use registers classes and loads libraries
  plainStartWindow();
  std::vector<double> ours, plain;
  for (int i = 0; i < kRounds; ++i) {
    double t0 = bench::NowMs();
    plainStartWindow();
    double t1 = bench::NowMs();
    ourStartWindow();
    double t2 = bench::NowMs();
    plain.push_back(t1 - t0);
    ours.push_back(t2 - t1);
  }
  double p = bench::Median(plain), o = bench::Median(ours);
  printf("start window: read the section and create it with its units (median of %d rounds)\n", kRounds);
  printf("  plain CreateWindowEx calls:           %.2f ms\n", p);
  printf("  section read + CreateWindowFromRecord: %.2f ms\n", o);
  printf("  ratio ours/plain: %.2f\n", o / p);
  return 0;
}
