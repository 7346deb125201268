// Start-up: from starting the process until its start window is on the screen.
// Measured: the test build of the program without symbols
// (linkwright_loopback_stripped.exe beside this program), which reads its notice
// page from this program's loopback server before it shows the window. Built with
// -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS=-s, it is the program as the
// release ships it. Baselines, run side by side: this program started again as a
// plain program that creates the same window and controls with direct platform
// calls (with the program's icon and common-controls manifest, as this program
// carries them); and the same plain program fetching the notice page with WinINet
// first. Two settings of the server: the page answered at once, and answered after
// 100 ms, as a real network answers. Median of 21 rounds per setting, the programs
// taking turns.
//
// Run from the build's bin folder under Wine with a display:
//   xvfb-run -a wine startup_bench_win.exe
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/plain_fetch_win.h"
#include "bench/plain_start_window_win.h"
#include "tests/support/http_server_win.h"
#include "tests/support/program_driver_win.h"

namespace {

constexpr int kRounds = 21;
constexpr int kPort = LINKWRIGHT_LOOPBACK_PORT;

// ---- The plain program ----

int plainProgram(bool fetchFirst) {
  // The notice page through WinINet, as the program reads it before its window shows.
  if (fetchFirst) bench::PlainFetch("http://127.0.0.1:" + std::to_string(kPort) + "/notice.txt");
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  bench::RegisterPlainWindowClass();
  HWND w = bench::CreatePlainStartWindow("PlainWindow");
  bench::ShowAndRunPlainWindow(w);
  return 0;
}

// ---- Timing ----

std::wstring thisProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Milliseconds from starting `commandLine` until a visible "Linkwright" window of
// it exists; then the window is closed and the process waited for. -1 on failure.
double untilShown(const std::wstring& commandLine) {
  lw::testing::ProgramUnderTest program;
  double t0 = bench::NowMs();
  if (!program.Start(commandLine)) return -1;
  HWND w = nullptr;
  while (!(w = program.FindWindowOfProgram(L"Linkwright")) && program.Running() && bench::NowMs() - t0 < 30000)
    Sleep(1);
  double t = bench::NowMs() - t0;
  if (!w) return -1;
  PostMessageA(w, WM_CLOSE, 0, 0);
  if (program.WaitForExit(15000) != 0) return -1;
  return t;
}

// One setting of the server: how long the notice page waits before its answer.
struct Setting {
  const char* name;
  DWORD noticeDelayMs;
};
const Setting kSettings[] = {{"notice page at once (loopback)", 0}, {"notice page after 100 ms", 100}};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && strcmp(argv[1], "--plain") == 0) return plainProgram(false);
  if (argc > 1 && strcmp(argv[1], "--plain-fetch") == 0) return plainProgram(true);

  std::wstring program = thisProgram();
  program.resize(program.rfind(L'\\') + 1);
  program += L"linkwright_loopback_stripped.exe";
  if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "build linkwright_loopback_stripped first (it sits beside this program)\n");
    return 1;
  }
  lw::testing::HttpServer server;
  if (!server.Start(kPort)) {
    fprintf(stderr, "port %d is taken\n", kPort);
    return 1;
  }
  server.Serve("/notice.txt", lw::testing::HttpResponse("200 OK", "", u8"版本：3.1#"));

  const std::wstring commands[3] = {L"\"" + program + L"\"", L"\"" + thisProgram() + L"\" --plain",
                                    L"\"" + thisProgram() + L"\" --plain-fetch"};
  untilShown(commands[0]);  // the first start of each fills the system's caches
  untilShown(commands[1]);
  untilShown(commands[2]);
  printf("start until the start window is shown, median of %d rounds\n", kRounds);
  for (const Setting& setting : kSettings) {
    server.answerDelayMs = setting.noticeDelayMs;
    std::vector<double> times[3];
    for (int r = 0; r < kRounds; ++r)
      for (int k = 0; k < 3; ++k) {
        int which = (k + r) % 3;
        double t = untilShown(commands[which]);
        if (t < 0) {
          fprintf(stderr, "%ls did not show its window\n", commands[which].c_str());
          return 1;
        }
        times[which].push_back(t);
      }
    double program_ = bench::Median(times[0]), plain = bench::Median(times[1]), fetch = bench::Median(times[2]);
    printf("%s\n", setting.name);
    printf("  plain program, direct platform calls:        %7.1f ms\n", plain);
    printf("  plain program, notice page fetched first:    %7.1f ms\n", fetch);
    printf("  the program (notice check, section, units):  %7.1f ms\n", program_);
    printf("  ratio program/plain %.2f, program/plain with fetch %.2f\n", program_ / plain, program_ / fetch);
  }
  server.Stop();
  return 0;
}
