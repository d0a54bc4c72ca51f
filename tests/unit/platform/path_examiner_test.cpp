#include "platform/path_examiner.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace orv {
namespace {

using namespace std::chrono_literals;

// A file system whose answers the test releases: until then an examination hangs, as on a
// share that does not answer.
struct HeldFileSystem {
  std::mutex mutex;
  std::condition_variable released_or_late;
  bool held = false;
  int examinations = 0;
  int late_answers = 0;
  std::string time = "t1";

  std::optional<std::string> Examine(const std::string& path) {
    std::unique_lock lock(mutex);
    ++examinations;
    released_or_late.wait(lock, [this] { return !held; });
    if (path == "missing") return std::nullopt;
    return time;
  }
  void Release() {
    std::lock_guard lock(mutex);
    held = false;
    released_or_late.notify_all();
  }
  void Late() {
    std::lock_guard lock(mutex);
    ++late_answers;
    released_or_late.notify_all();
  }
  bool WaitLate(int count) {
    std::unique_lock lock(mutex);
    return released_or_late.wait_for(lock, 10s, [&] { return late_answers >= count; });
  }
};

class PathExaminerTest : public ::testing::Test {
protected:
  HeldFileSystem fs;
  PathExaminer examiner{[this](const std::string& p) { return fs.Examine(p); }, [this] { fs.Late(); }};
};

TEST_F(PathExaminerTest, APromptFileSystemAnswersFreshEveryTime) {
  // A generous bound: the examination is immediate, so the answer always comes fresh.
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t1");
  fs.time = "t2";
  const auto answer = examiner.Ask("wall.bmp", 10s);
  EXPECT_TRUE(answer.known);
  EXPECT_EQ(answer.value, "t2");
  const auto missing = examiner.Ask("missing", 10s);
  EXPECT_TRUE(missing.known);
  EXPECT_FALSE(missing.value);
  EXPECT_EQ(fs.late_answers, 0);
}

TEST_F(PathExaminerTest, AHangingFileSystemNeverHoldsTheAskerAndTheAnswerComesLate) {
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t1");
  fs.held = true;
  fs.time = "t2";
  // The asker gets the last answer it had, not the one still being found out.
  const auto stale = examiner.Ask("wall.bmp", 20ms);
  EXPECT_TRUE(stale.known);
  EXPECT_EQ(stale.value, "t1");
  // Asking again meanwhile starts nothing new: the one examination under way will answer.
  EXPECT_FALSE(examiner.Ask("other.bmp", 1ms).known);  // never examined: nothing known
  EXPECT_EQ(examiner.Ask("wall.bmp", 1ms).value, "t1");
  fs.Release();
  ASSERT_TRUE(fs.WaitLate(1));  // the owner is told, so it can ask again
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t2");
  std::lock_guard lock(fs.mutex);
  EXPECT_LE(fs.examinations, 4);  // wall.bmp twice, other.bmp once, the fresh one last
}

TEST(PathExaminerEndTest, EndsWithoutWaitingForAHangingExamination) {
  auto fs = std::make_shared<HeldFileSystem>();
  fs->held = true;
  {
    PathExaminer examiner([fs](const std::string& p) { return fs->Examine(p); }, [] {});
    EXPECT_FALSE(examiner.Ask("unreachable", 5ms).known);
  }  // returns while the examination still hangs
  fs->Release();  // the worker finishes on its own
}

}  // namespace
}  // namespace orv
