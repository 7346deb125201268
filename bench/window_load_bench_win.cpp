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

#include "bench/bench_clock.h"
#include "bench/plain_start_window_win.h"
#include "program/window_section_data.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/table.h"

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
  HWND w = bench::CreatePlainStartWindow("PlainWindow");
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
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
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
