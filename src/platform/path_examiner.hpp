#pragma once
// Answers a question about a path (does the file exist, when was it written) on a worker
// thread, so that a slow file system — a share that no longer answers — never holds up the
// asking thread for longer than it allows. The calendar shares the desktop's input queue:
// a user-interface thread that waits seconds on a file freezes the desktop with it.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orv {

class PathExaminer {
public:
  // What the worker finds out about a path; nullopt when the path cannot be examined.
  using Examine = std::function<std::optional<std::string>(const std::string& path)>;
  // Whether a path always answers at once (a local disk), so it is examined on the asking
  // thread and needs no worker; shares and removable drives do not.
  using Prompt = std::function<bool(const std::string& path)>;

  // `answered_late` runs on the worker thread whenever an answer comes after its asker
  // stopped waiting, so the owner can ask again and take it (a posted message is the usual way). The
  // worker starts with the first question and ends after `idle_end` without one: questions
  // come only when something changed, and an idle thread is not free (its stack stays
  // resident), so none is kept for the hours between them.
  PathExaminer(Examine examine, std::function<void()> answered_late, Prompt prompt = nullptr,
               std::chrono::milliseconds idle_end = std::chrono::seconds(10));
  ~PathExaminer();
  PathExaminer(const PathExaminer&) = delete;
  PathExaminer& operator=(const PathExaminer&) = delete;

  struct Answer {
    bool known = false;                 // false: nothing has been found out about the path yet
    std::optional<std::string> value;   // the examination's result when known
  };
  // How long an answer that came late stands as the answer to the next question about its
  // path (the one its announcement prompts): long enough for a busy owner to get to it.
  static constexpr std::chrono::seconds kLateAnswerStands{5};

  // A fresh answer for `path` when it comes within `bound`; otherwise the last answer the
  // worker found for that path. One examination runs at a time; asking again about the path
  // under examination waits for that one instead of queueing another. An answer announced
  // late is the answer to the next question about its path, without another examination.
  Answer Ask(const std::string& path, std::chrono::milliseconds bound);

  // Whether a worker thread runs now.
  bool Working() const;

private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace orv
