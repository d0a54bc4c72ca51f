#include "platform/path_examiner.hpp"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace orv {

// Shared with the worker, which may outlive the examiner while an examination hangs.
struct PathExaminer::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  Examine examine;
  std::function<void()> answered_late;
  std::optional<std::string> pending;     // the next path to examine
  std::optional<std::string> examining;   // the path under examination
  std::uint64_t finished = 0;             // examinations finished so far
  std::map<std::string, std::optional<std::string>> answers;  // the last answer per path
  std::set<std::string> given_up;  // paths an asker stopped waiting for
  // Answers that came after their asker gave up, with when they came: the next question about
  // the path takes one as its answer. Asking afresh instead would start another examination
  // that is as slow, whose late answer would ask again, for as long as the share stays slow.
  std::map<std::string, std::chrono::steady_clock::time_point> unclaimed;
  bool stop = false;
  std::chrono::milliseconds idle_end{};
  Prompt prompt;
  bool running = false;  // the worker has not ended (it may still be examining after a stop)
  std::thread worker;

  void Run() {
    std::unique_lock lock(mutex);
    for (;;) {
      if (!changed.wait_for(lock, idle_end, [this] { return stop || pending.has_value(); }) || stop) {
        running = false;
        return;
      }
      examining = std::move(pending);
      pending.reset();
      const std::string path = *examining;
      Examine work = examine;
      lock.unlock();
      std::optional<std::string> answer = work(path);
      lock.lock();
      answers[path] = std::move(answer);
      examining.reset();
      ++finished;
      changed.notify_all();
      if (given_up.erase(path) && answered_late && !stop) {
        unclaimed[path] = std::chrono::steady_clock::now();
        std::function<void()> late = answered_late;
        lock.unlock();
        late();
        lock.lock();
      }
    }
  }
};

PathExaminer::PathExaminer(Examine examine, std::function<void()> answered_late, Prompt prompt,
                           std::chrono::milliseconds idle_end)
    : shared_(std::make_shared<Shared>()) {
  shared_->prompt = std::move(prompt);
  shared_->examine = std::move(examine);
  shared_->answered_late = std::move(answered_late);
  shared_->idle_end = idle_end;
}

PathExaminer::~PathExaminer() {
  std::unique_lock lock(shared_->mutex);
  shared_->stop = true;
  shared_->answered_late = nullptr;
  const bool busy = shared_->examining.has_value();
  std::thread worker = std::move(shared_->worker);
  shared_->changed.notify_all();
  lock.unlock();
  if (!worker.joinable()) return;
  // A hanging examination must not hold up the end of the program: the worker then finishes
  // on its own and releases the shared state.
  if (busy) worker.detach();
  else worker.join();
}

bool PathExaminer::Working() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->running;
}

PathExaminer::Answer PathExaminer::Ask(const std::string& path, std::chrono::milliseconds bound) {
  Shared& s = *shared_;
  if (s.prompt && s.prompt(path)) return {true, s.examine(path)};
  std::unique_lock lock(s.mutex);
  if (const auto late = s.unclaimed.find(path); late != s.unclaimed.end()) {
    const bool recent = std::chrono::steady_clock::now() - late->second < kLateAnswerStands;
    s.unclaimed.erase(late);
    const auto it = s.answers.find(path);
    if (recent && it != s.answers.end()) return {true, it->second};
  }
  // The examination that answers: the one under way for this path, or a new one after
  // whatever runs now.
  std::uint64_t wanted = s.finished + 1;
  if (!(s.examining && *s.examining == path)) {
    if (s.examining) ++wanted;
    s.pending = path;
    if (!s.running) {
      // The last worker ended idle; it let go of the lock as it returned, so this waits only
      // for its thread to finish.
      if (s.worker.joinable()) s.worker.join();
      s.running = true;
      s.worker = std::thread([shared = shared_] { shared->Run(); });
    }
    s.changed.notify_all();
  }
  const bool fresh = s.changed.wait_for(lock, bound, [&] { return s.finished >= wanted || s.stop; });
  if (!fresh) s.given_up.insert(path);
  const auto it = s.answers.find(path);
  if (it == s.answers.end()) return {};
  return {true, it->second};
}

}  // namespace orv
