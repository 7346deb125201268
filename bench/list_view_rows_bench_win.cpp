// Listing a long blog feed: 3,000 rows appended to the start window's list view
// with the list view commands (insert row with every argument omitted, then the
// text of columns 0 and 1), as the feed handler does, until the list has painted.
// Baselines in the same run on the same list: the platform's own messages with
// the list left redrawing after every row, and with redrawing held by hand.
// Median of 5 rounds each.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "program/window_section_data.h"
#include "runtime/core/services/service_table.h"
#include "runtime/ui/kinds/list_view_commands_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

using namespace lw;

namespace {

constexpr uint32_t kStartWindow = 0x5201EA05, kList = 0x1601EA5F;
constexpr int kRows = 3000, kRounds = 5;

HandlerResult nothing(int, const uint32_t*) { return {0, 0}; }
const EventHandler kHandlers[7] = {&nothing, &nothing, &nothing, &nothing, &nothing, &nothing, &nothing};

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

const char kTitle[] = "一篇日志的标题，足够长以便像真的一样";

void withCommands(HWND) {
  std::vector<ArgRecord> args(7, ArgRecord{0, 0, type::None});
  args[0] = {Word(kStartWindow), Word(kList), type::ListViewUnit};
  for (int i = 0; i < kRows; ++i) {
    args.resize(7);
    for (size_t k = 1; k < 7; ++k) args[k] = {0, 0, type::None};
    ResultRecord r = CallUnitCommand(&commands::InsertRow, 7, args.data(), 2);
    std::string id = std::to_string(100000 + i);
    ArgRecord set[4] = {args[0], {r.low, 0, type::Int}, {0, 0, type::Int}, {Word(kTitle), 0, type::Text}};
    CallUnitCommand(&commands::SetItemText, 4, set, 2);
    set[2].low = 1;
    set[3].low = reinterpret_cast<Word>(id.c_str());
    CallUnitCommand(&commands::SetItemText, 4, set, 2);
  }
}

void platform(HWND list, bool holdRedraw) {
  if (holdRedraw) SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < kRows; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>("");
    int at = int(SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item)));
    std::string id = std::to_string(100000 + i);
    LVITEMA text = {};
    text.pszText = const_cast<char*>(kTitle);
    SendMessageA(list, LVM_SETITEMTEXTA, at, LPARAM(&text));
    text.iSubItem = 1;
    text.pszText = const_cast<char*>(id.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, at, LPARAM(&text));
  }
  if (holdRedraw) {
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }
}

double round(HWND list, void (*fill)(HWND)) {
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  pump();
  UpdateWindow(list);
  double start = bench::NowMs();
  fill(list);
  pump();  // the handler has returned: posted work runs, the list paints
  UpdateWindow(list);
  double took = bench::NowMs() - start;
  if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != kRows) std::printf("wrong row count\n");
  return took;
}

}  // namespace

int main() {
  InstallWindowSystem();
  ReadLoadedWindows(program::kWindowSection, program::kWindowSectionLength, uintptr_t(kHandlers), sizeof kHandlers);
  if (!LoadWindowById(kStartWindow, nullptr, false)) {
    std::printf("the start window did not load\n");
    return 1;
  }
  pump();
  Unit* u = FindLiveUnit(kStartWindow, kList);
  HWND list = HWND(u->hwnd);
  std::vector<double> ours, redrawing, held;
  for (int i = 0; i < kRounds; ++i) {
    ours.push_back(round(list, &withCommands));
    redrawing.push_back(round(list, [](HWND l) { platform(l, false); }));
    held.push_back(round(list, [](HWND l) { platform(l, true); }));
  }
  const double a = bench::Median(ours), b = bench::Median(redrawing), c = bench::Median(held);
  std::printf("%d rows, median of %d rounds\n", kRows, kRounds);
  std::printf("  list view commands (redraw held by the unit): %8.1f ms\n", a);
  std::printf("  platform messages, redrawing every row:      %8.1f ms  (ours / this = %.2f)\n", b, a / b);
  std::printf("  platform messages, redraw held by hand:      %8.1f ms  (ours / this = %.2f)\n", c, a / c);
  DestroyAllWindows();
  return 0;
}
