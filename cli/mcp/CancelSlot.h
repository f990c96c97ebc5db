// CancelSlot: where a running tool call can be cancelled from another
// thread. The call arms the slot with a way to abort the component it is
// using, for as long as that component lives; Cancel() aborts it at once,
// or the next one armed.
//
//   { CancelSlot::Armed armed(slot, [&] { component.Abort(); });
//     component.Fetch(records); }
//   slot.Cancel();       // from the reading thread
#pragma once

#include <functional>
#include <mutex>

namespace orvalen {

class CancelSlot {
 public:
  class Armed {
   public:
    Armed(CancelSlot& slot, std::function<void()> abort) : slot_(slot) {
      slot_.Arm(std::move(abort));
    }
    ~Armed() { slot_.Arm(nullptr); }
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;

   private:
    CancelSlot& slot_;
  };

  void Cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (abort_) abort_();
  }
  bool Cancelled() const {
    const std::lock_guard lock(mutex_);
    return cancelled_;
  }
  // Ready for the next call.
  void Reset() {
    const std::lock_guard lock(mutex_);
    cancelled_ = false;
  }

 private:
  void Arm(std::function<void()> abort) {
    const std::lock_guard lock(mutex_);
    abort_ = std::move(abort);
    if (cancelled_ && abort_) abort_();
  }

  mutable std::mutex mutex_;
  std::function<void()> abort_;
  bool cancelled_ = false;
};

}  // namespace orvalen
