#pragma once
// "orvtool export" and "orvtool import": the schedule out to iCalendar or CSV, and CSV rows in.
//
//   export --format ics|csv FILE.ORV [-o OUT]   to standard output, or replacing OUT
//   import --format csv FILE.ORV IN.csv         all rows or none; FILE.ORV replaced on success
//
// Both take the words after the command name and return the exit code: 0 done, 1 a file that
// cannot be read, written or imported (the reasons on `err`), 2 a usage error. What belongs
// on standard output is put into `out` whole, so a failure never leaves half a file there.
#include <string>
#include <vector>

namespace orv::tool {

int RunExportCommand(const std::vector<std::string>& args, std::string& out, std::string& err);
int RunImportCommand(const std::vector<std::string>& args, std::string& out, std::string& err);

// An error text (lines of routine, TAB, number, TAB, description) as one readable line each.
std::string ReadableErrorText(std::string error_text);

}  // namespace orv::tool
