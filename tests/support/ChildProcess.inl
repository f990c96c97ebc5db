// Template definitions of ChildProcess.h.
#pragma once

#include <thread>

namespace orvalen::test {

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace orvalen::test
