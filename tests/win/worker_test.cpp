#include "win/worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

#include "wait.h"

namespace slidewell::win {
namespace {

using namespace std::chrono_literals;

// Long beside a call of the slow job below (10 ms), short beside the tests' waits (5 s).
constexpr std::chrono::milliseconds kStallBound = 1000ms;

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

// What a worker delivers, on this thread.
struct Delivered {
  TestWorker::Delivery delivery() {
    return [this](std::optional<std::shared_ptr<int>> result) { values.push_back(result ? **result : -1); };
  }
  // Runs this thread's messages until `count` ends have been delivered, or for `ms` at most.
  void await(std::size_t count, DWORD ms = 5000) {
    testing_support::waitUntil([&] { return values.size() >= count; }, ms);
  }

  std::vector<int> values;  // -1 for an end without a result
};

TEST(Worker, DeliversEachEndOnceOnItsThread) {
  TestWorker worker(kStallBound);
  Delivered delivered;

  worker.start(giving(std::make_shared<int>(42)), delivered.delivery());
  EXPECT_TRUE(delivered.values.empty()) << "delivered before its thread's messages ran";
  delivered.await(1);
  EXPECT_EQ(delivered.values, (std::vector<int>{42}));

  // Short calls that go on returning are no stall, however long they take together.
  worker.start(
      [](CountedTools&, picture::ReadProgress& progress) {
        for (int i = 0; i < 150; ++i) {
          const picture::ReadProgress::Call call(&progress);
          Sleep(10);
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
  delivered.await(5, 300);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7, -1, -1}));

  // A job replaced by another is never delivered.
  const auto held = std::make_shared<Gate>();
  worker.start(giving(std::make_shared<int>(1), held), delivered.delivery());
  ASSERT_TRUE(held->reached());
  worker.start(giving(std::make_shared<int>(2)), delivered.delivery());
  held->open();
  delivered.await(5);
  delivered.await(6, 300);
  EXPECT_EQ(delivered.values, (std::vector<int>{42, 7, -1, -1, 2}));
}

TEST(Worker, AStartThatWaitsDeliversAnEndInTimeAtOnceAndALaterOneWhenItComes) {
  TestWorker worker(kStallBound);
  Delivered delivered;
  EXPECT_TRUE(worker.start(giving(std::make_shared<int>(5)), delivered.delivery(), 5s));
  EXPECT_EQ(delivered.values, (std::vector<int>{5}));

  const auto gate = std::make_shared<Gate>();
  EXPECT_FALSE(worker.start(giving(std::make_shared<int>(6), gate), delivered.delivery(), 100ms));
  EXPECT_EQ(delivered.values, (std::vector<int>{5}));
  gate->open();
  delivered.await(2);
  EXPECT_EQ(delivered.values, (std::vector<int>{5, 6}));
}

TEST(Worker, AJobStartedAsThePreviousOneEndsTakesTheSameThread) {
  CountedTools::made = 0;
  TestWorker worker(kStallBound);
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
    // Long enough that the job waiting for a thread is not given up before the test frees one.
    TestWorker worker(5s);
    Delivered delivered;
    worker.start(giving(std::move(late), first), nullptr);
    ASSERT_TRUE(first->reached());
    worker.start(giving(std::make_shared<int>(2), second), nullptr);  // gives up the first
    ASSERT_TRUE(second->reached());
    EXPECT_FALSE(worker.start(giving(std::make_shared<int>(3)), delivered.delivery(), 200ms)) << "ran without a thread";
    EXPECT_TRUE(worker.busy());
    EXPECT_EQ(CountedTools::made, 2);

    first->open();
    delivered.await(1);
    EXPECT_EQ(delivered.values, (std::vector<int>{3}));
    EXPECT_TRUE(lateSeen.expired());
    // The freed thread stays for later jobs, with the tools it made.
    EXPECT_TRUE(worker.start(giving(std::make_shared<int>(4)), delivered.delivery(), 5s));
    EXPECT_EQ(delivered.values, (std::vector<int>{3, 4}));
    EXPECT_EQ(CountedTools::made, 2);
  }
  second->open();
}

}  // namespace
}  // namespace slidewell::win
