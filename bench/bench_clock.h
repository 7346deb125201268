// Timing for the benchmarks: a monotonic clock in milliseconds and the median of
// a run of samples.
#pragma once
#include <algorithm>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

namespace bench {

inline double NowMs() {
#ifdef _WIN32
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1e3 / double(freq.QuadPart);
#else
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace bench
