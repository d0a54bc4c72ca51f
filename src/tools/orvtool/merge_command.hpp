#pragma once
// "orvtool merge": the calendar's entry-level merge for scripts and tests.
//
//   merge BASE.ORV OURS.ORV THEIRS.ORV -o OUT.ORV   three ways: what either side added or
//                                                   deleted since BASE
//   merge OURS.ORV THEIRS.ORV -o OUT.ORV            without a base: every entry of both
//
// Takes the words after the command name and returns the exit code: 0 merged, 1 a file that
// cannot be read or written (the reasons on `err`), 2 a usage error. A summary goes to `out`.
#include <string>
#include <vector>

namespace orv::tool {

int RunMergeCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace orv::tool
