#include "support/Hand.h"

#include "support/ChildProcess.h"

namespace orvalen::test {

Hand::~Hand() {
  if (thread_.joinable()) thread_.join();
}

Hand& Hand::Do(Args args) {
  steps_.push_back({std::move(args), nullptr});
  return *this;
}

Hand& Hand::Until(std::function<bool()> condition, Args args, std::chrono::milliseconds limit) {
  steps_.push_back({std::move(args), std::move(condition), limit});
  return *this;
}

void Hand::Start() {
  thread_ = std::thread([this] { Play(); });
}

std::string Hand::Failure() const {
  const std::lock_guard lock(mutex_);
  return failure_;
}

bool Hand::Now(const Args& args) {
  ChildProcess xdotool("/usr/bin/xdotool", args);
  return xdotool.Wait(std::chrono::seconds(10)) == 0;
}

void Hand::Play() {
  for (const Step& step : steps_) {
    bool ok = Now(step.args);
    if (ok && step.until) {
      const auto until = std::chrono::steady_clock::now() + step.limit;
      while (ok && !step.until()) {
        ok = std::chrono::steady_clock::now() < until && Now(step.args);
        // Small enough to look like a hand's movement, large enough to let
        // the program answer.
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
      }
    }
    if (!ok) {
      const std::lock_guard lock(mutex_);
      failure_ = "xdotool step failed or its condition never held:";
      for (const std::string& a : step.args) failure_ += " " + a;
      break;
    }
  }
  done_ = true;
}

}  // namespace orvalen::test
