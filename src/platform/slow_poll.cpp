#include "platform/slow_poll.hpp"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orv {

// Shared with the worker, which may outlive the poll while a look hangs.
struct SlowPoll::Shared {
  std::mutex mutex;
  std::condition_variable stopping;
  bool stop = false;
  std::chrono::milliseconds period;
  Look look;
  std::function<void()> changed;

  void Run() {
    std::optional<std::string> last = look();
    std::unique_lock lock(mutex);
    while (!stopping.wait_for(lock, period, [this] { return stop; })) {
      lock.unlock();
      std::optional<std::string> now = look();
      lock.lock();
      if (stop) return;
      // Called with the lock held: the destructor cannot return while it runs.
      if (now != last) changed();
      last = std::move(now);
    }
  }
};

SlowPoll::SlowPoll(std::chrono::milliseconds period, Look look, std::function<void()> changed)
    : shared_(std::make_shared<Shared>()) {
  shared_->period = period;
  shared_->look = std::move(look);
  shared_->changed = std::move(changed);
  std::thread([shared = shared_] { shared->Run(); }).detach();
}

SlowPoll::~SlowPoll() {
  std::lock_guard lock(shared_->mutex);
  shared_->stop = true;
  shared_->stopping.notify_all();
}

}  // namespace orv
