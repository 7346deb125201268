// The escape of share values: computed directly against the platform's script
// control on the same values.
// Baseline: escapeShareValueByScript, the statement run through the script control
// by the runtime's automation commands, one control per value with the component
// library started and stopped around it. Measured: escapeShareValue, the direct
// computation the program uses.
// Prints the median time per value of each over several rounds and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/share_escape.h"
#include "bench/bench_clock.h"
#include "runtime/core/values/memory.h"
#include "tests/data/escape_corpus.h"
#include "tests/support/program_dll_table_win.h"
#include "tests/support/script_control_escape_win.h"

namespace {

constexpr int kRounds = 9;
constexpr int kDirectRepeats = 200;

}  // namespace

int main() {
  lw::testing::InstallProgramDllTable();
  // Every fourth corpus value: all kinds (ASCII, GBK, apostrophes, backslash
  // escapes, line breaks, long values) and few enough for the script route.
  std::vector<const char*> values;
  for (size_t i = 0; i < sizeof corpus::kEscapeCases / sizeof corpus::kEscapeCases[0]; i += 4)
    values.push_back(corpus::kEscapeCases[i].value);

  lw::Text probe = lw::testing::escapeShareValueByScript("a b");
  bool present = probe && std::string(probe) == "a%20b";
  lw::FreeMemory(probe);
  if (!present) {
    printf("the script control cannot be created here: nothing to compare against\n");
    return 1;
  }

  std::vector<double> script, direct;
  size_t mismatches = 0;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = (bench::NowMs() * 1e3);
    for (const char* v : values) lw::FreeMemory(lw::testing::escapeShareValueByScript(v));
    double t1 = (bench::NowMs() * 1e3);
    for (int k = 0; k < kDirectRepeats; ++k)
      for (const char* v : values) lw::FreeMemory(app::escapeShareValue(v));
    double t2 = (bench::NowMs() * 1e3);
    script.push_back((t1 - t0) / double(values.size()));
    direct.push_back((t2 - t1) / double(values.size() * kDirectRepeats));
  }
  for (const char* v : values) {
    lw::Text a = app::escapeShareValue(v), b = lw::testing::escapeShareValueByScript(v);
    if (std::string(a ? a : "") != std::string(b ? b : "")) ++mismatches;
    lw::FreeMemory(a);
    lw::FreeMemory(b);
  }
  double s = bench::Median(script), d = bench::Median(direct);
  printf("share-value escape, %zu values x %d rounds (median microseconds per value)\n", values.size(), kRounds);
  printf("  script control through the automation commands: %10.2f us\n", s);
  printf("  direct computation:                              %10.2f us\n", d);
  printf("  ratio script/direct: %.0f\n", s / d);
  printf("  values answered differently by this platform's engine: %zu (see the corpus's engine column)\n",
         mismatches);
  return 0;
}
