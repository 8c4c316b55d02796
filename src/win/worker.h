#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "picture/read_progress.h"
#include "win/com.h"

namespace slidewell::win {

// How a worker reaches the window it works for: the message it posts when a job ends, and the window
// timer with which it watches the current job for a stall.
struct WorkerRouting {
  UINT endMessage;
  UINT_PTR watchTimer;
  std::chrono::milliseconds stallBound;
};

// Reads that may stall (a file on a sleeping network drive, a dead share) done away from the thread
// that answers the user, so that a stall can delay a result but never the user's input.
//
// A job reads through the ReadProgress it is given, marking every call that waits on the file system.
// One job counts at a time. Each job started with start() ends exactly once on the window's thread,
// by a call of its delivery: with its result, or with nullopt when it failed, threw, or stalled, which
// is when one of its calls has waited for `stallBound` (a job still waiting for a free thread counts as
// waiting too). A job that is replaced by another one, or abandoned, is never delivered: its result is
// freed on the thread where it ends. The window passes its messages through handle(), which takes the
// worker's own; a watch timer that cannot be armed leaves the job to be delivered when it ends.
//
// Jobs run on at most kThreads persistent threads, each with COM initialised and its own `Tools` (an
// imaging factory, say), made once on that thread. A thread held by a job given up stays held until
// that job ends; with every thread held so, a new job waits in a single slot for the first to come
// free, so a file system that stalls for hours costs at most kThreads threads. The threads are never
// waited for: a destroyed Worker leaves them to end when their job does, and ending the process ends
// them wherever they are.
template <typename Tools, typename Result>
class Worker {
 public:
  using Job = std::function<std::optional<Result>(Tools&, picture::ReadProgress&)>;
  using Delivery = std::function<void(std::optional<Result>)>;
  static constexpr int kThreads = 2;

  explicit Worker(WorkerRouting routing) : routing_(routing), shared_(std::make_shared<Shared>(routing.endMessage)) {}
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  ~Worker() {
    stopWatching();
    {
      const std::lock_guard lock(shared_->mutex);
      shared_->closing = true;
      shared_->window = nullptr;
      giveUp();
    }
    shared_->changed.notify_all();
  }

  // The window to deliver to from now on: for a worker that starts work before its window exists.
  void attach(HWND window) {
    window_ = window;
    {
      const std::lock_guard lock(shared_->mutex);
      shared_->window = window;
    }
    if (delivery_) watch();
  }

  // Starts `job` in place of the current one; `delivery` gets its end.
  void start(Job job, Delivery delivery) {
    delivery_ = std::move(delivery);
    progress_ = begin(std::move(job), true);
    watch();
  }

  // Gives up the current job, undelivered: waiting, it never runs; running, its result is dropped.
  void abandon() {
    stopWatching();
    delivery_ = nullptr;
    const std::lock_guard lock(shared_->mutex);
    giveUp();
  }

  // Whether the current job has yet to end.
  bool busy() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->pending;
  }

  // Waits at most `timeout` for the current job to end; true when it did (or there is none).
  bool waitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [this] { return !shared_->pending; });
  }

  // Delivers the current job now when it has ended: for a window that waits for its first result
  // before it is displayed.
  void deliver() {
    if (auto outcome = takeOutcome()) finish(std::move(*outcome));
  }

  // Takes the worker's own messages, and tells whether `message` was one.
  bool handle(UINT message, WPARAM wParam) {
    if (message == routing_.endMessage) {
      deliver();
      return true;
    }
    if (message != WM_TIMER || wParam != routing_.watchTimer) return false;
    if (delivery_ && progress_->stalled(picture::ReadProgress::Clock::now(), routing_.stallBound)) {
      {
        const std::lock_guard lock(shared_->mutex);
        giveUp();
      }
      finish(std::nullopt);
    }
    return true;
  }

  // Runs `job` in place of the current one and waits at most `timeout` for its result, undelivered;
  // after that the job is given up: nullopt.
  std::optional<Result> runWithin(Job job, std::chrono::milliseconds timeout) {
    abandon();
    begin(std::move(job), false);
    if (!waitFor(timeout)) abandon();
    return takeOutcome().value_or(std::nullopt);
  }

 private:
  using Progress = std::shared_ptr<picture::ReadProgress>;

  struct Shared {
    explicit Shared(UINT endMessage) : message(endMessage) {}

    const UINT message;
    HWND window = nullptr;
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t current = 0;  // counts every job started or given up; the running one's number is kept
    std::optional<Job> waiting;
    Progress waitingProgress;
    bool waitingAnnounced = false;
    bool pending = false;
    std::optional<std::optional<Result>> outcome;  // the current job's end, until taken
    int threads = 0;
    int idle = 0;
    bool closing = false;
  };

  Progress begin(Job job, bool announced) {
    auto progress = std::make_shared<picture::ReadProgress>();
    // Waiting for a thread is waiting like a call that has not returned.
    progress->callStarted(picture::ReadProgress::Clock::now());
    bool newThread = false;
    {
      const std::lock_guard lock(shared_->mutex);
      giveUp();
      shared_->waiting = std::move(job);
      shared_->waitingProgress = progress;
      shared_->waitingAnnounced = announced;
      shared_->pending = true;
      newThread = shared_->idle == 0 && shared_->threads < kThreads;
      if (newThread) ++shared_->threads;
    }
    if (newThread) startThread();
    shared_->changed.notify_all();
    return progress;
  }

  // With the lock held.
  void giveUp() {
    ++shared_->current;
    shared_->waiting.reset();
    shared_->waitingProgress.reset();
    shared_->pending = false;
    shared_->outcome.reset();
  }

  std::optional<std::optional<Result>> takeOutcome() {
    const std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->outcome, std::nullopt);
  }

  void finish(std::optional<Result> result) {
    stopWatching();
    // Moved out first: the delivery may well start the next job.
    if (Delivery delivery = std::exchange(delivery_, nullptr)) delivery(std::move(result));
  }

  void watch() {
    if (window_ == nullptr || !delivery_) return;
    const auto period = static_cast<UINT>(std::max<std::chrono::milliseconds::rep>(routing_.stallBound.count() / 4, 1));
    watching_ = SetTimer(window_, routing_.watchTimer, period, nullptr) != 0;
  }

  void stopWatching() {
    if (watching_ && window_ != nullptr) KillTimer(window_, routing_.watchTimer);
    watching_ = false;
  }

  void startThread() {
    try {
      std::thread(serve, shared_).detach();
    } catch (const std::system_error&) {
      // No thread to be had: the job waits for one as behind a stalled job, and is given up alike.
      const std::lock_guard lock(shared_->mutex);
      --shared_->threads;
    }
  }

  static std::optional<Result> run(const Job& job, Tools& tools, picture::ReadProgress& progress) noexcept {
    try {
      return job(tools, progress);
    } catch (...) {
      return std::nullopt;  // a job that cannot finish (no memory, say) gives nothing
    }
  }

  static void serve(std::shared_ptr<Shared> shared) {
    const ComApartment com(COINIT_MULTITHREADED);
    Tools tools;
    std::unique_lock lock(shared->mutex);
    ++shared->idle;
    for (;;) {
      shared->changed.wait(lock, [&] { return shared->closing || shared->waiting.has_value(); });
      if (!shared->waiting) break;
      --shared->idle;
      Job job = std::move(*shared->waiting);
      shared->waiting.reset();
      const Progress progress = std::move(shared->waitingProgress);
      const std::uint64_t number = shared->current;
      const bool announced = shared->waitingAnnounced;
      lock.unlock();
      progress->callReturned();
      HWND announceTo = nullptr;
      {
        std::optional<Result> result = run(job, tools, *progress);
        job = nullptr;
        lock.lock();
        if (number == shared->current) {
          shared->outcome.emplace(std::move(result));
          shared->pending = false;
          if (announced) announceTo = shared->window;
        }
        // Free again in the same step as the end is seen, so that a job started on seeing it takes this
        // thread rather than making another.
        ++shared->idle;
        lock.unlock();
      }  // a result given up goes here, outside the lock
      shared->changed.notify_all();
      if (announceTo != nullptr) PostMessageW(announceTo, shared->message, 0, 0);
      lock.lock();
    }
    --shared->idle;
    --shared->threads;
  }

  const WorkerRouting routing_;
  std::shared_ptr<Shared> shared_;
  // The window's side, touched on its thread only.
  HWND window_ = nullptr;
  Delivery delivery_;
  Progress progress_;
  bool watching_ = false;
};

}  // namespace slidewell::win
