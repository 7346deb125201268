// Timing for the benchmarks: a monotonic clock in milliseconds and the median of
// a run of samples. The standard steady clock is the performance counter on
// Windows, so the header stays free of the platform.
#pragma once
#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

inline double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace bench
