#pragma once
// Looks at something every so often on a worker thread and says when the answer differs from
// the one before: the last resort where the system cannot report a change itself (a folder on
// a share that refuses to be watched). The looking never runs on the asking thread, so a share
// that stops answering holds up only the worker.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orv {

class SlowPoll {
public:
  // What is looked at; nullopt when it cannot be looked at (that is an answer too).
  using Look = std::function<std::optional<std::string>()>;

  // Looks once at once (the answer everything is compared with), then every `period`.
  // `changed` runs on the worker after an answer that differs from the previous one; never
  // after the poll is destroyed.
  SlowPoll(std::chrono::milliseconds period, Look look, std::function<void()> changed);
  ~SlowPoll();  // returns at once; a look still under way ends by itself and is ignored
  SlowPoll(const SlowPoll&) = delete;
  SlowPoll& operator=(const SlowPoll&) = delete;

private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace orv
