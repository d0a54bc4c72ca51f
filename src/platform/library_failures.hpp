#pragma once
// System libraries the program loads on first use (the common controls, the automation
// library) may lack a function it needs on an old or damaged system. The call then fails
// cleanly instead of ending the program, the failure is remembered here, and whatever needed
// the library (a dialog) does not open and says why.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct LibraryFailure {
  std::string library;   // as the program names it, "comctl32.dll"
  std::string function;  // the function's name, or "#" and its ordinal
  bool operator==(const LibraryFailure&) const = default;
};

class LibraryFailures {
public:
  // The first failure of each library is kept: it names what went wrong first.
  void Record(std::string_view library, std::string_view function);
  // The failure of `library` (names compare without regard to case), if one was recorded.
  std::optional<LibraryFailure> Of(std::string_view library) const;

private:
  std::vector<LibraryFailure> failures_;
};

// What the user is told when a window cannot open for want of a library's function.
std::string LibraryFailureMessage(const LibraryFailure& failure);

}  // namespace orv
