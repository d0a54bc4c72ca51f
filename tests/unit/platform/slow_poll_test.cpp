#include "platform/slow_poll.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace orv {
namespace {

using namespace std::chrono_literals;

// What the poll looks at, set by the test; counts the looks and the reported changes.
struct Watched {
  std::mutex mutex;
  std::condition_variable moved;
  std::optional<std::string> value = "t1";
  int looks = 0;
  int changes = 0;

  std::optional<std::string> Look() {
    std::lock_guard lock(mutex);
    ++looks;
    moved.notify_all();
    return value;
  }
  void Set(std::optional<std::string> v) {
    std::lock_guard lock(mutex);
    value = std::move(v);
  }
  void Changed() {
    std::lock_guard lock(mutex);
    ++changes;
    moved.notify_all();
  }
  // Waits until at least `n` looks have been made since now.
  void WaitLooks(int n) {
    std::unique_lock lock(mutex);
    const int until = looks + n;
    ASSERT_TRUE(moved.wait_for(lock, 5s, [&] { return looks >= until; }));
  }
  int Changes() {
    std::lock_guard lock(mutex);
    return changes;
  }
};

TEST(SlowPoll, ReportsEachDifferentAnswerOnceAndNothingAfterItEnds) {
  auto watched = std::make_shared<Watched>();
  {
    SlowPoll poll(5ms, [watched] { return watched->Look(); }, [watched] { watched->Changed(); });
    watched->WaitLooks(3);
    EXPECT_EQ(watched->Changes(), 0);  // the same answer every time: quiet
    watched->Set("t2");
    watched->WaitLooks(3);
    EXPECT_EQ(watched->Changes(), 1);
    watched->Set(std::nullopt);  // no longer examinable: a change too, once
    watched->WaitLooks(3);
    EXPECT_EQ(watched->Changes(), 2);
  }
  watched->Set("t3");
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(watched->Changes(), 2);
}

TEST(SlowPoll, EndsAtOnceWhileALookHangsAndReportsNothingItFindsAfterwards) {
  // The first look answers; a later one hangs, as on a share that stops answering, and then
  // comes back with another answer after the poll has ended.
  struct Share {
    std::atomic<int> looks{0};
    std::atomic<bool> gate{false}, hanging{false}, answered{false};
    std::atomic<int> changes{0};
  };
  auto share = std::make_shared<Share>();
  {
    SlowPoll poll(
        1ms,
        [share]() -> std::optional<std::string> {
          if (share->looks++ == 0) return "t1";
          share->hanging = true;
          while (!share->gate) std::this_thread::sleep_for(1ms);
          share->answered = true;
          return "t2";
        },
        [share] { ++share->changes; });
    while (!share->hanging) std::this_thread::sleep_for(1ms);
  }  // returns although the look hangs
  share->gate = true;
  while (!share->answered) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(50ms);  // time for the worker to act on the answer
  EXPECT_EQ(share->changes, 0);
  EXPECT_EQ(share->looks, 2);  // and it looks no more
}

}  // namespace
}  // namespace orv
