// Hand: real input through the X server (xdotool, which uses XTest), played
// on a thread of its own so that the test's event loop keeps running
// meanwhile, also inside the nested loop of a drag. A step may wait first
// for a condition the test's own thread makes true (read it from atomics).
//
//   Hand hand;
//   hand.Do({"mousemove", "40", "60"}).Do({"mousedown", "1"}).Do({"mousemove", "80", "60"});
//   hand.Until([&] { return entered.load(); }, {"mousemove", "600", "100"});
//   hand.Do({"mouseup", "1"}).Start();
//   QTRY_VERIFY_WITH_TIMEOUT(hand.Done(), 30000);
//   QVERIFY2(hand.Failure().empty(), hand.Failure().c_str());
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvalen::test {

class Hand {
 public:
  using Args = std::vector<std::string>;
  ~Hand();

  // One xdotool command.
  Hand& Do(Args args);
  // `args` again and again (at most for `limit`) until `condition` holds;
  // a failure when it never does.
  Hand& Until(std::function<bool()> condition, Args args,
              std::chrono::milliseconds limit = std::chrono::seconds(15));
  void Start();
  bool Done() const { return done_; }
  // What went wrong, once Done(); empty when every step ran.
  std::string Failure() const;

  // Runs one xdotool command at once, on the calling thread.
  static bool Now(const Args& args);

 private:
  struct Step {
    Args args;
    std::function<bool()> until;
    std::chrono::milliseconds limit{0};
  };
  void Play();

  std::vector<Step> steps_;
  std::thread thread_;
  std::atomic<bool> done_{false};
  mutable std::mutex mutex_;
  std::string failure_;
};

}  // namespace orvalen::test
