#pragma once
// Helpers of the print tests: the per-test program directory and polling.
#include <chrono>
#include <functional>
#include <thread>

#include "program_dir_test.h"

namespace vorna::test {

// Polls `condition` for up to ten seconds.
inline bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

}  // namespace vorna::test
