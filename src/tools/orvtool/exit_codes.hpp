#pragma once
// What every orvtool command returns, so scripts can tell a bad command line from a file that
// would not do.
namespace orv::tool {

constexpr int kOk = 0;
constexpr int kFailed = 1;  // a file that cannot be read, written or changed as asked
constexpr int kUsage = 2;   // a command line the tool does not understand

}  // namespace orv::tool
