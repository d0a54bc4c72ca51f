#pragma once
// "orvtool merge": the calendar's entry-level merge for scripts and tests.
//
//   merge BASE.ORV OURS.ORV THEIRS.ORV -o OUT.ORV   three ways: what either side added or
//                                                   deleted since BASE
//   merge OURS.ORV THEIRS.ORV -o OUT.ORV            without a base: every entry of both
//
// The series companions beside the files (FILE.ORV.series) are merged alike: three ways with
// the calendar's series merge, or without a base as its union with a sync client's copy
// (a missing companion is an empty book); OUT.ORV.series is written when any file had one. A
// damaged companion stops the merge before anything is written.
//
// Takes the words after the command name and returns the exit code: 0 merged, 1 a file that
// cannot be read or written (the reasons on `err`), 2 a usage error. A summary goes to `out`.
#include <string>
#include <vector>

namespace orv::tool {

int RunMergeCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace orv::tool
