#pragma once
// Marks along the start-up, for scripts/measure-run: when the environment variable
// ORVANTA_STARTUP_TRACE names a file, each mark appends "<seconds since 1970> <name> <resident
// KiB>" to it: the wall clock the launching script reads too, so it can subtract its own launch
// time, and the process's resident memory at that moment.
// Without the variable a mark costs one look at a cached flag.
namespace orv {

void MarkStartup(const char* name);

}  // namespace orv
