#include "platform/path_examiner.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

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
    released_or_late.notify_all();
    released_or_late.wait(lock, [this] { return !held; });
    if (path == "missing") return std::nullopt;
    return time;
  }
  void Hold() {
    std::lock_guard lock(mutex);
    held = true;
  }
  void Release() {
    std::lock_guard lock(mutex);
    held = false;
    released_or_late.notify_all();
  }
  void SetTime(std::string t) {
    std::lock_guard lock(mutex);
    time = std::move(t);
  }
  int Examinations() {
    std::lock_guard lock(mutex);
    return examinations;
  }
  int LateAnswers() {
    std::lock_guard lock(mutex);
    return late_answers;
  }
  void Late() {
    std::lock_guard lock(mutex);
    ++late_answers;
    released_or_late.notify_all();
  }
  bool WaitExaminations(int count) {
    std::unique_lock lock(mutex);
    return released_or_late.wait_for(lock, 10s, [&] { return examinations >= count; });
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
  fs.SetTime("t2");
  const auto answer = examiner.Ask("wall.bmp", 10s);
  EXPECT_TRUE(answer.known);
  EXPECT_EQ(answer.value, "t2");
  const auto missing = examiner.Ask("missing", 10s);
  EXPECT_TRUE(missing.known);
  EXPECT_FALSE(missing.value);
  EXPECT_EQ(fs.LateAnswers(), 0);
}

TEST_F(PathExaminerTest, AHangingFileSystemNeverHoldsTheAskerAndTheAnswerComesLate) {
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t1");
  fs.Hold();
  fs.SetTime("t2");
  // The asker gets the last answer it had, not the one still being found out.
  const auto stale = examiner.Ask("wall.bmp", 20ms);
  EXPECT_TRUE(stale.known);
  EXPECT_EQ(stale.value, "t1");
  // Asking again meanwhile starts nothing new: the one examination under way will answer.
  EXPECT_FALSE(examiner.Ask("other.bmp", 1ms).known);  // never examined: nothing known
  EXPECT_EQ(examiner.Ask("wall.bmp", 1ms).value, "t1");
  fs.Release();
  ASSERT_TRUE(fs.WaitLate(1));  // the owner is told, so it can ask again
  // other.bmp, asked for while wall.bmp hung, waited its turn and is examined now.
  ASSERT_TRUE(fs.WaitExaminations(3));
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t2");  // the late answer itself
  // wall.bmp twice, other.bmp once: nothing examined twice for one question, and the question
  // the late answer prompted takes it rather than examining again.
  EXPECT_EQ(fs.Examinations(), 3);
}

TEST(PathExaminerIdleTest, NoThreadBetweenQuestionsAndANewOneAnswersTheNext) {
  HeldFileSystem fs;
  PathExaminer examiner([&fs](const std::string& p) { return fs.Examine(p); }, [] {}, nullptr, 20ms);
  EXPECT_FALSE(examiner.Working());  // nothing asked yet
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t1");
  for (int i = 0; i < 500 && examiner.Working(); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(examiner.Working());
  fs.SetTime("t2");
  EXPECT_EQ(examiner.Ask("wall.bmp", 10s).value, "t2");
  EXPECT_EQ(fs.Examinations(), 2);
}

TEST(PathExaminerPromptTest, LocalPathsAreAnsweredOnTheAskingThreadEvenWhileAShareHangs) {
  auto share = std::make_shared<HeldFileSystem>();
  share->held = true;
  const auto asker = std::this_thread::get_id();
  std::thread::id examined_on;
  PathExaminer examiner(
      [share, &examined_on](const std::string& p) -> std::optional<std::string> {
        if (p.starts_with("\\\\")) return share->Examine(p);
        examined_on = std::this_thread::get_id();
        return "local";
      },
      [] {}, [](const std::string& p) { return p.starts_with("C:"); });
  EXPECT_EQ(examiner.Ask("C:\\wall.bmp", 0ms).value, "local");
  EXPECT_EQ(examined_on, asker);
  EXPECT_FALSE(examiner.Working());  // no thread for a local disk
  EXPECT_FALSE(examiner.Ask("\\\\srv\\share\\wall.bmp", 5ms).known);
  EXPECT_TRUE(examiner.Working());
  EXPECT_EQ(examiner.Ask("C:\\other.bmp", 0ms).value, "local");  // not queued behind the share
  share->Release();
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

// A share slower than the asker's bound: the late answer's announcement makes the owner ask
// again, and that question takes the late answer instead of starting another slow
// examination whose own late answer would ask again, round after round.
TEST(PathExaminerLateTest, ALateAnswerIsTakenAsTheAnswerNotAReasonToAskAgain) {
  std::mutex mutex;
  std::condition_variable announced;
  int examinations = 0, late = 0;
  PathExaminer examiner(
      [&](const std::string&) -> std::optional<std::string> {
        {
          std::lock_guard lock(mutex);
          ++examinations;
        }
        std::this_thread::sleep_for(40ms);
        return "t1";
      },
      [&] {
        std::lock_guard lock(mutex);
        ++late;
        announced.notify_all();
      });
  const std::string path = "\\\\srv\\share\\wall.bmp";
  EXPECT_FALSE(examiner.Ask(path, 1ms).known);
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(announced.wait_for(lock, 10s, [&] { return late == 1; }));
  }
  const auto answer = examiner.Ask(path, 1ms);  // what the owner does on the announcement
  EXPECT_TRUE(answer.known);
  EXPECT_EQ(answer.value, "t1");
  std::this_thread::sleep_for(200ms);  // time for several slow rounds, were any started
  {
    std::lock_guard lock(mutex);
    EXPECT_EQ(examinations, 1);
    EXPECT_EQ(late, 1);
  }
  // A question after the late answer was taken (the folder reported a change) looks afresh.
  EXPECT_EQ(examiner.Ask(path, 10s).value, "t1");
  std::lock_guard lock(mutex);
  EXPECT_EQ(examinations, 2);
}

}  // namespace
}  // namespace orv
