// A cached DLL-command call against a direct call of the same routine.
// Baseline: MulDiv called through the address GetProcAddress gave (a plain indirect
// call, as a program linked against the library would make). Measured: the same
// routine through CallDllCommand after its first, binding call.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/bench_clock.h"
#include "runtime/core/startup/runtime_app_win.h"

using namespace lw;

namespace {

constexpr int kCalls = 1000000;
constexpr int kRounds = 15;

}  // namespace

int main() {
  static const char* libs[] = {"kernel32.dll"};
  static const char* names[] = {"MulDiv"};
  SetDllCommands(libs, names, 1);
  InstallPlatformHooks();

  using MulDivFn = int(WINAPI*)(int, int, int);
  auto direct = reinterpret_cast<MulDivFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "MulDiv")));
  volatile MulDivFn directRef = direct;
  uint32_t args[3] = {1000, 3, 7};
  CallDllCommand(0, 3, args);  // binds and caches

  std::vector<double> base, cached;
  volatile int sink = 0;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = (bench::NowMs() * 1e6);
    for (int i = 0; i < kCalls; ++i) sink = sink + directRef(1000 + i, 3, 7);
    double t1 = (bench::NowMs() * 1e6);
    for (int i = 0; i < kCalls; ++i) {
      args[0] = uint32_t(1000 + i);
      sink = sink + int(CallDllCommand(0, 3, args));
    }
    double t2 = (bench::NowMs() * 1e6);
    base.push_back((t1 - t0) / kCalls);
    cached.push_back((t2 - t1) / kCalls);
  }
  double b = bench::Median(base), c = bench::Median(cached);
  printf("dll command call, %d calls x %d rounds (median ns per call)\n", kCalls, kRounds);
  printf("  direct call through the export address: %.2f ns\n", b);
  printf("  cached CallDllCommand:                   %.2f ns\n", c);
  printf("  ratio cached/direct: %.2f\n", c / b);
  return 0;
}
