#include "schedule/file_identity.hpp"

#include <gtest/gtest.h>

#include <cerrno>

#include "schedule/user_data_file.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

struct ComparisonCase {
  const char* name;
  FileIdentity known, now;
  FileComparison expected;
};

class FileIdentityComparison : public testing::TestWithParam<ComparisonCase> {};

TEST_P(FileIdentityComparison, TheContentDecides) {
  EXPECT_EQ(CompareFileIdentity(GetParam().known, GetParam().now), GetParam().expected);
}

const FileIdentity kFile{true, 100, 5000, 0xABCDu};

INSTANTIATE_TEST_SUITE_P(
    Cases, FileIdentityComparison,
    testing::Values(ComparisonCase{"Same", kFile, kFile, FileComparison::kSame},
                    ComparisonCase{"OnlyTheTimeMoved", kFile, {true, 100, 9000, 0xABCDu}, FileComparison::kSame},
                    ComparisonCase{"OtherContentSameSize", kFile, {true, 100, 5000, 0x1234u}, FileComparison::kChanged},
                    ComparisonCase{"OtherSize", kFile, {true, 101, 5000, 0xABCDu}, FileComparison::kChanged},
                    ComparisonCase{"Deleted", kFile, {}, FileComparison::kDeleted},
                    ComparisonCase{"Created", {}, kFile, FileComparison::kCreated},
                    ComparisonCase{"StillNone", {}, {}, FileComparison::kSame}),
    [](const testing::TestParamInfo<ComparisonCase>& param_info) { return std::string(param_info.param.name); });

TEST(FileIdentity, HashSeparatesContentsOfOneSize) {
  EXPECT_EQ(ContentHash("abc"), ContentHash("abc"));
  EXPECT_NE(ContentHash("abc"), ContentHash("acb"));
  EXPECT_NE(ContentHash(""), ContentHash(std::string(1, '\0')));
  EXPECT_EQ(IdentityOf("abcd", 7), (FileIdentity{true, 4, 7, ContentHash("abcd")}));
}

std::string ImageOf(int entries) {
  YearDatas years;
  DefaultUserListArray lists;
  DayData& day = GetOrCreateDay(years, SplitDate(MakeDate(2026, 12, 8)));
  for (int i = 0; i < entries; ++i) day.PaymentDatas.Add(NextPaymentKey(day))->strTitle = "家賃";
  std::string bytes;
  SerializeUserData(years, lists, bytes);
  return bytes;
}

// Looks at the data file as it goes through the states a watcher meets.
TEST(CheckDataFile, ReadsChangesRetriesHalfWrittenFilesAndNeverSeesThemAsEmpty) {
  test::TempDir dir;
  const std::string path = dir.File("data.ORV");
  ASSERT_FALSE(ReplaceFileContents(path, ImageOf(1)));
  const DataFileCheck first = CheckDataFile(path, {}, 0);
  ASSERT_EQ(first.State, DataFileState::kChanged) << "a file where there was none";
  const FileIdentity known = first.Identity;
  EXPECT_EQ(CheckDataFile(path, known, 0).State, DataFileState::kUnchanged);

  ASSERT_FALSE(ReplaceFileContents(path, ImageOf(2)));
  DataFileCheck changed = CheckDataFile(path, known, 0);
  ASSERT_EQ(changed.State, DataFileState::kChanged);
  EXPECT_EQ(FindDay(changed.Years, SplitDate(MakeDate(2026, 12, 8)))->PaymentDatas.Count(), 2);

  // Half written by a sync client: retried within the window, then given up as unreadable.
  const std::string whole = ImageOf(3);
  ASSERT_FALSE(ReplaceFileContents(path, whole.substr(0, whole.size() - 3)));
  const DataFileCheck partial = CheckDataFile(path, known, 0);
  EXPECT_EQ(partial.State, DataFileState::kRetryLater);
  EXPECT_NE(partial.Error, "");
  EXPECT_EQ(partial.Years.Count(), 0);
  EXPECT_EQ(CheckDataFile(path, known, kChangeRetryAttempts - 1).State, DataFileState::kRetryLater);
  EXPECT_EQ(CheckDataFile(path, known, kChangeRetryAttempts).State, DataFileState::kUnreadable);

  ASSERT_FALSE(RemoveFile(path));
  EXPECT_EQ(CheckDataFile(path, known, 0).State, DataFileState::kMissing);
  EXPECT_EQ(CheckDataFile(path, {}, 0).State, DataFileState::kUnchanged);
}

TEST(RetryDelays, ChangeChecksBackOffWithinAboutTenSecondsAndSavesWithinAFew) {
  int change_total = 0;
  for (int attempt = 0; attempt < kChangeRetryAttempts; ++attempt) {
    EXPECT_GE(ChangeRetryDelayMs(attempt), attempt == 0 ? 100 : ChangeRetryDelayMs(attempt - 1));
    change_total += ChangeRetryDelayMs(attempt);
  }
  EXPECT_GE(change_total, 8000);
  EXPECT_LE(change_total, 15000);
  int save_total = 0;
  for (int delay : SaveRetryDelaysMs()) save_total += delay;
  EXPECT_GE(save_total, 2000);
  EXPECT_LE(save_total, 5000);
}

#ifdef _WIN32
constexpr long kSharingViolation = 32, kAccessDenied = 5, kDiskFull = 112, kPathNotFound = 3;
#else
constexpr long kSharingViolation = EBUSY, kAccessDenied = EACCES, kDiskFull = ENOSPC, kPathNotFound = ENOENT;
#endif

struct RetryCase {
  const char* name;
  std::vector<long> results;  // what each attempt returns, the last one repeated
  int attempts;
  long final_error;
  int waited_ms;
};

class SaveRetry : public testing::TestWithParam<RetryCase> {};

TEST_P(SaveRetry, RetriesOnlyWhileTheErrorIsTransient) {
  const RetryCase& c = GetParam();
  int attempts = 0, waited = 0;
  const SystemError result = RetryTransient(
      [&] {
        const long n = c.results[std::min<std::size_t>(static_cast<std::size_t>(attempts), c.results.size() - 1)];
        ++attempts;
        return SystemError{n, n ? "error" : ""};
      },
      [&](int ms) { waited += ms; });
  EXPECT_EQ(attempts, c.attempts);
  EXPECT_EQ(result.number, c.final_error);
  EXPECT_EQ(waited, c.waited_ms);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveRetry,
    testing::Values(RetryCase{"FirstTry", {0}, 1, 0, 0},
                    RetryCase{"LockFreedWithinTheWindow", {kSharingViolation, kAccessDenied, 0}, 3, 0, 150},
                    RetryCase{"LockHeldThroughout", {kSharingViolation}, 8, kSharingViolation, 3550},
                    RetryCase{"DiskFullIsNotRetried", {kDiskFull}, 1, kDiskFull, 0},
                    RetryCase{"PathGoneAfterALock", {kSharingViolation, kPathNotFound}, 2, kPathNotFound, 50}),
    [](const testing::TestParamInfo<RetryCase>& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace orv
