#include "win/worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "test_parent.h"
#include "wait.h"

namespace slidewell::win {
namespace {

using namespace std::chrono_literals;

constexpr UINT kEnded = WM_APP + 7;
constexpr UINT_PTR kWatch = 3;
constexpr WorkerRouting kRouting{kEnded, kWatch, 300ms};

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
  return [result = std::move(result), gate = std::move(gate)](CountedTools&, picture::ReadProgress& progress) {
    const picture::ReadProgress::Call call(&progress);
    if (gate) gate->pass();
    return std::optional(result);
  };
}

// What a worker delivers to a test window that passes it its messages.
struct Delivered {
  TestWorker::Delivery delivery() {
    return [this](std::optional<std::shared_ptr<int>> result) { values.push_back(result ? **result : -1); };
  }
  // Runs the window's thread until `count` ends have been delivered, or for `ms` at most.
  void await(std::size_t count, DWORD ms = 5000) {
    testing_support::waitUntil([&] { return values.size() >= count; }, ms);
  }

  std::vector<int> values;  // -1 for an end without a result
};

TEST(Worker, DeliversEachEndOnceOnTheWindowsThread) {
  TestWorker worker(kRouting);
  const testing_support::TestParent parent([&](UINT message, WPARAM wParam) { return worker.handle(message, wParam); });
  worker.attach(parent.hwnd());
  Delivered delivered;

  worker.start(giving(std::make_shared<int>(42)), delivered.delivery());
  delivered.await(1);
  EXPECT_EQ(delivered.values, (std::vector<int>{42}));

  // Slow reads that go on returning are no stall, however long they take together.
  worker.start(
      [](CountedTools&, picture::ReadProgress& progress) {
        for (int i = 0; i < 12; ++i) {
          const picture::ReadProgress::Call call(&progress);
          Sleep(50);
        }
        return std::optional(std::make_shared<int>(7));
      },
      delivered.delivery());
  delivered.await(2);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7}));

  worker.start(
      [](CountedTools&, picture::ReadProgress&) -> std::optional<std::shared_ptr<int>> {
        throw std::runtime_error("no memory");
      },
      delivered.delivery());
  delivered.await(3);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7, -1}));

  // A call that does not return is given up once the bound has passed, and its late end is not seen.
  const auto gate = std::make_shared<Gate>();
  worker.start(giving(std::make_shared<int>(9), gate), delivered.delivery());
  delivered.await(4);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7, -1, -1}));
  gate->open();
  delivered.await(5, 200);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7, -1, -1}));

  // A job replaced by another is never delivered.
  const auto held = std::make_shared<Gate>();
  worker.start(giving(std::make_shared<int>(1), held), delivered.delivery());
  ASSERT_TRUE(held->reached());
  worker.start(giving(std::make_shared<int>(2)), delivered.delivery());
  held->open();
  delivered.await(5);
  delivered.await(6, 100);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7, -1, -1, 2}));
}

TEST(Worker, AJobStartedAsThePreviousOneEndsTakesTheSameThread) {
  CountedTools::made = 0;
  TestWorker worker(kRouting);
  for (int i = 0; i < 300; ++i) {
    worker.start(giving(std::make_shared<int>(i)), nullptr);
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
    TestWorker worker(kRouting);
    worker.start(giving(std::move(late), first), nullptr);
    ASSERT_TRUE(first->reached());
    worker.start(giving(std::make_shared<int>(2), second), nullptr);  // gives up the first
    ASSERT_TRUE(second->reached());
    std::optional<int> third;
    worker.start(giving(std::make_shared<int>(3)), [&](auto result) { third = result ? **result : -1; });
    EXPECT_FALSE(worker.waitFor(200ms));  // waits for a thread
    EXPECT_TRUE(worker.busy());
    EXPECT_EQ(CountedTools::made, 2);

    first->open();
    ASSERT_TRUE(worker.waitFor(5s));
    worker.deliver();
    EXPECT_EQ(third, 3);
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
  TestWorker worker(kRouting);
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(worker.runWithin(giving(std::make_shared<int>(5), gate), 100ms).has_value());
  EXPECT_LT(GetTickCount64() - start, 2000u);
  EXPECT_FALSE(worker.busy());
  gate->open();
  EXPECT_TRUE(worker.waitFor(5s));
}

}  // namespace
}  // namespace slidewell::win
