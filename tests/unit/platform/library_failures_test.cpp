#include "platform/library_failures.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

// A library loaded on first use may lack a function: the first failure of each library is
// what the user is told about, whatever the letter case the system reports the name in.
TEST(LibraryFailuresTest, KeepsTheFirstFailureOfEachLibraryAndSaysWhatWillNotOpen) {
  LibraryFailures failures;
  EXPECT_FALSE(failures.Of("comctl32.dll"));
  failures.Record("COMCTL32.dll", "TaskDialogIndirect");
  failures.Record("comctl32.dll", "InitCommonControlsEx");
  failures.Record("oleaut32.dll", "#6");
  EXPECT_EQ(failures.Of("comctl32.DLL"), (LibraryFailure{"COMCTL32.dll", "TaskDialogIndirect"}));
  EXPECT_EQ(failures.Of("oleaut32.dll")->function, "#6");
  EXPECT_FALSE(failures.Of("comctl32"));  // the whole name, not a prefix
  const std::string message = LibraryFailureMessage(*failures.Of("comctl32.dll"));
  EXPECT_NE(message.find("COMCTL32.dll の TaskDialogIndirect"), std::string::npos);
  EXPECT_NE(message.find("この画面を開けません"), std::string::npos);
  EXPECT_NE(message.find("編集した予定は失われていません"), std::string::npos);
}

}  // namespace
}  // namespace orv
