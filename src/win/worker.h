#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "picture/read_progress.h"

namespace slidewell::win {

// The part of a Worker that does not depend on what its jobs use or make: the threads, the one job that
// counts, the watch for a stall and the way back to the thread that made it (worker.cpp).
class WorkerCore {
 public:
  // A job as the threads run it, given the tools of the thread it runs on.
  using Task = std::function<void(void* tools, picture::ReadProgress&)>;
  // What a thread makes once, on itself, before its first job; it is kept for the thread's life.
  using MakeTools = std::function<std::shared_ptr<void>()>;
  // A job's end, on the worker's thread: true when it ran to its end, false when it threw or stalled.
  using Ended = std::function<void(bool ranToEnd)>;
  static constexpr int kThreads = 2;
  // What the worker's threads share with it, and outlive it by.
  struct Shared;

  WorkerCore(std::chrono::milliseconds stallBound, MakeTools makeTools);
  WorkerCore(const WorkerCore&) = delete;
  WorkerCore& operator=(const WorkerCore&) = delete;
  ~WorkerCore();

  // As Worker's: starts `task`, whose end goes to `ended` when it counts.
  bool start(Task task, Ended ended, std::chrono::milliseconds wait);
  void abandon();
  bool busy() const;

 private:
  class Messages;

  void onEnded();
  void onWatch();
  void finish(bool ranToEnd);
  void giveUpLocked();

  const std::chrono::milliseconds stallBound_;
  std::shared_ptr<Shared> shared_;
  std::unique_ptr<Messages> messages_;
  // Touched on the worker's own thread only.
  Ended ended_;
  std::shared_ptr<picture::ReadProgress> progress_;
};

// Reads that may stall (a file on a sleeping network drive, a dead share) done away from the thread
// that answers the user, so that a stall can delay a result but never the user's input. Made on that
// thread, it comes back to it by a message-only window of its own, which gets its ends and its watch
// timer: the windows it works for only start jobs and take what is delivered.
//
// A job reads through the ReadProgress it is given, marking every call that waits on the file system.
// One job counts at a time. Each job started ends exactly once on the worker's thread, by a call of its
// delivery: with its result, or with nullopt when it failed, threw, or stalled, which is when one of its
// calls has waited for `stallBound` (a job still waiting for a free thread counts as waiting too). A job
// that is replaced by another one, or abandoned, is never delivered: its result is freed on the thread
// where it ends.
//
// Jobs run on at most kThreads persistent threads, each with its own `Tools` (a picture decoder, say),
// made once on that thread. A thread held by a job given up stays held until
// that job ends; with every thread held so, a new job waits in a single slot for the first to come
// free, so a file system that stalls for hours costs at most kThreads threads. The threads are never
// waited for: a destroyed Worker leaves them to end when their job does, and ending the process ends
// them wherever they are.
template <typename Tools, typename Result>
class Worker {
 public:
  using Job = std::function<std::optional<Result>(Tools&, picture::ReadProgress&)>;
  using Delivery = std::function<void(std::optional<Result>)>;
  static constexpr int kThreads = WorkerCore::kThreads;

  explicit Worker(std::chrono::milliseconds stallBound)
      : core_(stallBound, []() -> std::shared_ptr<void> { return std::make_shared<Tools>(); }) {}

  // Starts `job` in place of the current one; `delivery` gets its end. With a `wait`, it waits that long
  // at most for the end, and delivers it before it returns when it came: true then. A job not ended
  // by then goes on, and is delivered when it ends, as any other.
  bool start(Job job, Delivery delivery, std::chrono::milliseconds wait = {}) {
    // Written by the job's thread before its end is told, read here only after.
    auto result = std::make_shared<std::optional<Result>>();
    return core_.start(
        [job = std::move(job), result](void* tools, picture::ReadProgress& progress) {
          *result = job(*static_cast<Tools*>(tools), progress);
        },
        [delivery = std::move(delivery), result](bool ranToEnd) {
          if (delivery) delivery(ranToEnd ? std::move(*result) : std::nullopt);
        },
        wait);
  }

  // Gives up the current job, undelivered: waiting, it never runs; running, its result is dropped.
  void abandon() { core_.abandon(); }

  // Whether the current job has yet to end.
  bool busy() const { return core_.busy(); }

 private:
  WorkerCore core_;
};

}  // namespace slidewell::win
