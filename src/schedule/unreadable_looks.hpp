#pragma once
// A data file that stays unreadable (held by another program, half written, damaged): the
// keeper looks again quickly for a while, which a sync client or a scanner lets go within;
// past that window it tells the user once, and goes on looking at a slower pace, so a file
// that frees itself later is still taken in. Every edit is in the journal meanwhile.
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

inline constexpr char kUnreadableTitle[] = "データの読み込みエラー";
// Names the file, says that nothing edited is lost and that the program keeps trying, and
// what the user can do.
std::string UnreadableDataFileText(std::string_view path);

// The time the quick looks take (the delays of ChangeRetryDelayMs over kChangeRetryAttempts:
// 11.5 s), and the pace after it.
int UnreadableWindowMs();
inline constexpr int kSlowLookMs = 5000;

class UnreadableLooks {
public:
  struct Next {
    int delay_ms = 0;   // when to look again
    bool tell = false;  // tell the user now: once a spell
    bool operator==(const Next&) const = default;
  };
  // A look could not read the file, at `now_ms` of a steady clock. The window is time, not a
  // count of looks: looks brought early by change notices do not shorten it, looks put off by
  // an open dialog do not lengthen it.
  Next Failed(std::int64_t now_ms);
  // Whether a spell is on: the last look could not read the file.
  bool Failing() const { return failures_ > 0; }
  // A look read the file or found none: the spell is over, and a later one is told again.
  void Ended() {
    failures_ = 0;
    told_ = false;
  }

private:
  int failures_ = 0;
  std::int64_t first_ms_ = 0;
  bool told_ = false;
};

}  // namespace orv
