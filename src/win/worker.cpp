#include "win/worker.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

#include "win/window_object.h"

namespace slidewell::win {
namespace {

constexpr UINT kEndedMessage = WM_APP + 1;
constexpr UINT_PTR kWatchTimer = 1;

}  // namespace

struct WorkerCore::Shared {
  explicit Shared(MakeTools make) : makeTools(std::move(make)) {}

  const MakeTools makeTools;
  HWND window = nullptr;  // where the ends are told; none once the worker is gone
  std::mutex mutex;
  std::condition_variable changed;
  std::uint64_t current = 0;  // counts every job started or given up; the running one's number is kept
  std::optional<Task> waiting;
  std::shared_ptr<picture::ReadProgress> waitingProgress;
  bool pending = false;         // the current job has yet to end
  std::optional<bool> outcome;  // the current job's end, until taken: whether it ran to its end
  int threads = 0;
  int idle = 0;
  bool closing = false;
};

// The worker's way back: a message-only window on the thread that made the worker, which gets the
// threads' news of an end and the watch timer.
class WorkerCore::Messages final : public WindowObject {
 public:
  // Without its window (no memory for one, say) a worker delivers only the ends that a start waits for.
  explicit Messages(WorkerCore& core) : core_(core) {
    create(GetModuleHandleW(nullptr), {L"SlidewellWorker"}, {.parent = HWND_MESSAGE});
  }
  ~Messages() { destroy(); }

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kEndedMessage) {
      core_.onEnded();
      return 0;
    }
    if (message == WM_TIMER && wParam == kWatchTimer) {
      core_.onWatch();
      return 0;
    }
    return DefWindowProcW(hwnd(), message, wParam, lParam);
  }

  WorkerCore& core_;
};

namespace {

void serve(std::shared_ptr<WorkerCore::Shared> shared);

void startThread(const std::shared_ptr<WorkerCore::Shared>& shared) {
  try {
    std::thread(serve, shared).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the job waits for one as behind a stalled job, and is given up alike.
    const std::lock_guard lock(shared->mutex);
    --shared->threads;
  }
}

std::shared_ptr<void> makeTools(const WorkerCore::MakeTools& make) noexcept {
  try {
    return make();
  } catch (...) {
    return nullptr;  // no tools (no memory, say): the thread's jobs fail
  }
}

bool run(const WorkerCore::Task& task, void* tools, picture::ReadProgress& progress) noexcept {
  if (tools == nullptr) return false;
  try {
    task(tools, progress);
    return true;
  } catch (...) {
    return false;  // a job that cannot finish (no memory, say) gives nothing
  }
}

void serve(std::shared_ptr<WorkerCore::Shared> shared) {
  const std::shared_ptr<void> tools = makeTools(shared->makeTools);
  std::unique_lock lock(shared->mutex);
  ++shared->idle;
  for (;;) {
    shared->changed.wait(lock, [&] { return shared->closing || shared->waiting.has_value(); });
    if (!shared->waiting) break;
    --shared->idle;
    WorkerCore::Task task = std::move(*shared->waiting);
    shared->waiting.reset();
    const auto progress = std::move(shared->waitingProgress);
    const std::uint64_t number = shared->current;
    lock.unlock();
    progress->callReturned();
    const bool ranToEnd = run(task, tools.get(), *progress);
    task = nullptr;  // a result given up goes here, outside the lock
    lock.lock();
    HWND tell = nullptr;
    if (number == shared->current) {
      shared->outcome = ranToEnd;
      shared->pending = false;
      tell = shared->window;
    }
    // Free again in the same step as the end is seen, so that a job started on seeing it takes this
    // thread rather than making another.
    ++shared->idle;
    lock.unlock();
    shared->changed.notify_all();
    if (tell != nullptr) PostMessageW(tell, kEndedMessage, 0, 0);
    lock.lock();
  }
  --shared->idle;
  --shared->threads;
}

}  // namespace

WorkerCore::WorkerCore(std::chrono::milliseconds stallBound, MakeTools makeTools)
    : stallBound_(stallBound),
      shared_(std::make_shared<Shared>(std::move(makeTools))),
      messages_(std::make_unique<Messages>(*this)) {
  shared_->window = messages_->hwnd();
}

WorkerCore::~WorkerCore() {
  if (messages_->hwnd() != nullptr) KillTimer(messages_->hwnd(), kWatchTimer);
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->closing = true;
    shared_->window = nullptr;
    giveUpLocked();
  }
  shared_->changed.notify_all();
}

bool WorkerCore::start(Task task, Ended ended, std::chrono::milliseconds wait) {
  ended_ = std::move(ended);
  progress_ = std::make_shared<picture::ReadProgress>();
  // Waiting for a thread is waiting like a call that has not returned.
  progress_->callStarted(picture::ReadProgress::Clock::now());
  bool newThread = false;
  {
    const std::lock_guard lock(shared_->mutex);
    giveUpLocked();
    shared_->waiting = std::move(task);
    shared_->waitingProgress = progress_;
    shared_->pending = true;
    newThread = shared_->idle == 0 && shared_->threads < kThreads;
    if (newThread) ++shared_->threads;
  }
  if (newThread) startThread(shared_);
  shared_->changed.notify_all();

  if (wait.count() > 0) {
    std::unique_lock lock(shared_->mutex);
    if (shared_->changed.wait_for(lock, wait, [this] { return !shared_->pending; })) {
      const bool ranToEnd = shared_->outcome.value_or(false);
      shared_->outcome.reset();
      lock.unlock();
      finish(ranToEnd);
      return true;
    }
  }
  // A timer that cannot be armed leaves the job to be delivered when it ends.
  const auto period = std::max<std::chrono::milliseconds::rep>(stallBound_.count() / 4, 1);
  if (messages_->hwnd() != nullptr) SetTimer(messages_->hwnd(), kWatchTimer, static_cast<UINT>(period), nullptr);
  return false;
}

void WorkerCore::abandon() {
  if (messages_->hwnd() != nullptr) KillTimer(messages_->hwnd(), kWatchTimer);
  ended_ = nullptr;
  const std::lock_guard lock(shared_->mutex);
  giveUpLocked();
}

bool WorkerCore::busy() const {
  const std::lock_guard lock(shared_->mutex);
  return shared_->pending;
}

void WorkerCore::onEnded() {
  std::optional<bool> outcome;
  {
    const std::lock_guard lock(shared_->mutex);
    outcome = std::exchange(shared_->outcome, std::nullopt);
  }
  if (outcome) finish(*outcome);
}

void WorkerCore::onWatch() {
  if (!ended_ || !progress_->stalled(picture::ReadProgress::Clock::now(), stallBound_)) return;
  {
    const std::lock_guard lock(shared_->mutex);
    giveUpLocked();
  }
  finish(false);
}

void WorkerCore::finish(bool ranToEnd) {
  if (messages_->hwnd() != nullptr) KillTimer(messages_->hwnd(), kWatchTimer);
  // Moved out first: the delivery may well start the next job.
  if (Ended ended = std::exchange(ended_, nullptr)) ended(ranToEnd);
}

void WorkerCore::giveUpLocked() {
  ++shared_->current;
  shared_->waiting.reset();
  shared_->waitingProgress.reset();
  shared_->pending = false;
  shared_->outcome.reset();
}

}  // namespace slidewell::win
