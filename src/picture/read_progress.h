#pragma once

#include <atomic>
#include <chrono>
#include <limits>

namespace slidewell::picture {

// Whether a read is still moving, as seen from another thread. A read stalls only inside a call that
// waits on the file system; between calls (decoding what was read, say) it is working, however long
// that takes. So a read counts as stalled when one such call has not returned within a bound, and a
// slow share that keeps delivering never does, however long the whole file takes.
class ReadProgress {
 public:
  using Clock = std::chrono::steady_clock;

  // Marks a call that may wait on the file system for as long as it lasts.
  class Call {
   public:
    explicit Call(ReadProgress* progress) : progress_(progress) {
      if (progress_ != nullptr) progress_->callStarted(Clock::now());
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    ~Call() {
      if (progress_ != nullptr) progress_->callReturned();
    }

   private:
    ReadProgress* progress_;
  };

  void callStarted(Clock::time_point now) { since_.store(now.time_since_epoch().count()); }
  void callReturned() { since_.store(kNoCall); }

  // Whether a call has been waiting for at least `bound` at `now`.
  bool stalled(Clock::time_point now, Clock::duration bound) const {
    const Clock::rep since = since_.load();
    return since != kNoCall && now.time_since_epoch().count() - since >= bound.count();
  }

 private:
  static constexpr Clock::rep kNoCall = std::numeric_limits<Clock::rep>::min();
  std::atomic<Clock::rep> since_{kNoCall};
};

}  // namespace slidewell::picture
