#pragma once

#include <windows.h>

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

#include "win/com.h"

namespace slidewell::win {

// Work that may stall (a file on a sleeping network drive, a dead share) done away from the thread that
// answers the user, so that a stall can delay a result but never the user's input.
//
// One job counts at a time: starting another one, or abandoning, gives up the one before, whose result
// is never handed back and is freed on the thread where it ends. Jobs run on at most kThreads
// persistent threads, each with COM initialised and its own `Tools` (an imaging factory, say), made
// once on that thread. A thread held by a job that was given up stays held until that job ends; with
// every thread held so, a new job waits in a single slot (in place of one waiting there before) for the
// first to come free, so a file system that stalls for hours costs at most kThreads threads.
//
// The end of every job started with start() is announced by posting `message` to `window` (when there is
// a window); take() then hands over the result, once. A job run with runWithin() is waited for instead. The threads are never waited for: a destroyed Worker leaves them to
// end when their job does, and ending the process ends them wherever they are.
template <typename Tools, typename Result>
class Worker {
 public:
  using Job = std::function<Result(Tools&)>;
  static constexpr int kThreads = 2;

  Worker(HWND window, UINT message) : shared_(std::make_shared<Shared>(window, message)) {}
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  ~Worker() {
    {
      const std::lock_guard lock(shared_->mutex);
      shared_->closing = true;
      giveUp();
    }
    shared_->changed.notify_all();
  }

  // Starts `job` in place of the current one.
  void start(Job job) { begin(std::move(job), true); }

  // Announces the ends of jobs to `window` from now on: for a worker that starts work before its window
  // exists.
  void announceTo(HWND window) {
    const std::lock_guard lock(shared_->mutex);
    shared_->window = window;
  }

  // Gives up the current job: waiting, it never runs; running, its result is dropped where it ends.
  void abandon() {
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

  // The current job's result once it has ended, handed over once; nullopt before, and after abandon().
  std::optional<Result> take() {
    const std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->result, std::nullopt);
  }

  // Starts `job` and waits at most `timeout` for its result; after that the job is given up: nullopt.
  std::optional<Result> runWithin(Job job, std::chrono::milliseconds timeout) {
    begin(std::move(job), false);
    if (!waitFor(timeout)) abandon();
    return take();
  }

 private:
  struct Shared {
    Shared(HWND to, UINT announcement) : window(to), message(announcement) {}

    HWND window;
    const UINT message;
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t current = 0;  // counts every job started or given up; the running one's number is kept
    std::optional<Job> waiting;
    bool waitingAnnounced = false;
    bool pending = false;
    std::optional<Result> result;
    int threads = 0;
    int idle = 0;
    bool closing = false;
  };

  void begin(Job job, bool announced) {
    bool newThread = false;
    {
      const std::lock_guard lock(shared_->mutex);
      giveUp();
      shared_->waiting = std::move(job);
      shared_->waitingAnnounced = announced;
      shared_->pending = true;
      newThread = shared_->idle == 0 && shared_->threads < kThreads;
      if (newThread) ++shared_->threads;
    }
    if (newThread) startThread();
    shared_->changed.notify_all();
  }

  // With the lock held.
  void giveUp() {
    ++shared_->current;
    shared_->waiting.reset();
    shared_->pending = false;
    shared_->result.reset();
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
      const std::uint64_t number = shared->current;
      const bool announced = shared->waitingAnnounced;
      lock.unlock();
      HWND announceTo = nullptr;
      {
        Result result = job(tools);
        job = nullptr;
        lock.lock();
        if (number == shared->current) {
          shared->result.emplace(std::move(result));
          shared->pending = false;
        }
        // Free again in the same step as the end is seen, so that a job started on seeing it takes this
        // thread rather than making another.
        ++shared->idle;
        if (announced && !shared->closing) announceTo = shared->window;
        lock.unlock();
      }  // a result given up goes here, outside the lock
      shared->changed.notify_all();
      if (announceTo != nullptr) PostMessageW(announceTo, shared->message, 0, 0);
      lock.lock();
    }
    --shared->idle;
    --shared->threads;
  }

  std::shared_ptr<Shared> shared_;
};

}  // namespace slidewell::win
