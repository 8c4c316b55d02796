#include "win/worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "test_parent.h"

namespace slidewell::win {
namespace {

using namespace std::chrono_literals;

constexpr UINT kEnded = WM_APP + 7;

// Made once by each thread that a worker starts.
struct CountedTools {
  CountedTools() { ++made; }
  static inline std::atomic<int> made{0};
};

using TestWorker = Worker<CountedTools, std::shared_ptr<int>>;

// Stands for a read on a stalled file system: a job through it waits until the gate opens.
class Gate {
 public:
  Gate() : open_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), reached_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Gate(const Gate&) = delete;
  Gate& operator=(const Gate&) = delete;
  ~Gate() {
    CloseHandle(open_);
    CloseHandle(reached_);
  }
  void open() const { SetEvent(open_); }
  void pass() const {
    SetEvent(reached_);
    WaitForSingleObject(open_, INFINITE);
  }
  bool reached() const { return WaitForSingleObject(reached_, 5000) == WAIT_OBJECT_0; }

 private:
  HANDLE open_;
  HANDLE reached_;
};

TestWorker::Job giving(std::shared_ptr<int> result, std::shared_ptr<Gate> gate = nullptr) {
  return [result = std::move(result), gate = std::move(gate)](CountedTools&) {
    if (gate) gate->pass();
    return result;
  };
}

bool announced(HWND window) {
  MSG message{};
  for (int i = 0; i < 500; ++i) {
    if (PeekMessageW(&message, window, kEnded, kEnded, PM_REMOVE)) return true;
    Sleep(10);
  }
  return false;
}

TEST(Worker, HandsTheResultBackOnceAfterPostingTheMessage) {
  const testing_support::TestParent parent;
  TestWorker worker(parent.hwnd(), kEnded);
  worker.start(giving(std::make_shared<int>(42)));
  ASSERT_TRUE(announced(parent.hwnd()));
  EXPECT_FALSE(worker.busy());
  const auto result = worker.take();
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(**result, 42);
  EXPECT_FALSE(worker.take().has_value());
}

TEST(Worker, AJobStartedAsThePreviousOneEndsTakesTheSameThread) {
  CountedTools::made = 0;
  TestWorker worker(nullptr, 0);
  for (int i = 0; i < 300; ++i) {
    worker.start(giving(std::make_shared<int>(i)));
    while (worker.busy()) {
    }
  }
  EXPECT_EQ(CountedTools::made, 1);
}

TEST(Worker, StalledJobsHoldAtMostTwoThreadsAndWhatTheyGiveLateIsFreedUnseen) {
  CountedTools::made = 0;
  const auto first = std::make_shared<Gate>();
  const auto second = std::make_shared<Gate>();
  auto late = std::make_shared<int>(1);
  const std::weak_ptr<int> lateSeen = late;
  {
    TestWorker worker(nullptr, 0);
    worker.start(giving(std::move(late), first));
    ASSERT_TRUE(first->reached());
    worker.start(giving(std::make_shared<int>(2), second));  // gives up the first
    ASSERT_TRUE(second->reached());
    worker.start(giving(std::make_shared<int>(3)));          // gives up the second; waits for a thread
    EXPECT_FALSE(worker.waitFor(200ms));
    EXPECT_TRUE(worker.busy());
    EXPECT_EQ(CountedTools::made, 2);

    first->open();
    ASSERT_TRUE(worker.waitFor(5s));
    const auto result = worker.take();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(**result, 3);
    EXPECT_TRUE(lateSeen.expired());
    // The freed thread stays for later jobs, with the tools it made.
    const auto again = worker.runWithin(giving(std::make_shared<int>(4)), 5s);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(**again, 4);
    EXPECT_EQ(CountedTools::made, 2);
  }
  second->open();
}

TEST(Worker, RunWithinGivesUpAJobThatOutlastsItsTime) {
  const auto gate = std::make_shared<Gate>();
  TestWorker worker(nullptr, 0);
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(worker.runWithin(giving(std::make_shared<int>(5), gate), 100ms).has_value());
  EXPECT_LT(GetTickCount64() - start, 2000u);
  EXPECT_FALSE(worker.busy());
  gate->open();
  EXPECT_FALSE(worker.take().has_value());
}

}  // namespace
}  // namespace slidewell::win
