// The median wall-clock time of a piece of work, for the measurement programs: one run first
// warms caches (and GDI's font mapper), then `runs` timed runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace orv {

inline double MedianSeconds(int runs, const std::function<void()>& body) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> times;
  body();
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    body();
    times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace orv
