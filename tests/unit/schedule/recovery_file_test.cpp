#include "schedule/recovery_file.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/file_system.hpp"
#include "schedule/user_data_file.hpp"
#include "../../support/temp_dir.hpp"

namespace orv {
namespace {

const LocalTime kEvening{2026, 12, 7, 18, 30, 5};

void SetWriteTime(const std::string& path, std::chrono::seconds from_now) {
  std::filesystem::last_write_time(test::FsPath(path), std::filesystem::file_time_type::clock::now() + from_now);
}

TEST(RecoveryFile, NamedAfterTheDataFileAndTheMomentWithANumberForLaterAttempts) {
  EXPECT_EQ(RecoveryFileName("C:\\Users\\u\\予定.ORV", kEvening, 1), "予定-20261207-183005.ORV");
  EXPECT_EQ(RecoveryFileName("/home/u/data.v2.orv", kEvening, 2), "data.v2-20261207-183005-2.ORV");
  EXPECT_EQ(RecoveryFileName("E:\\plain", LocalTime{2027, 1, 2, 3, 4, 5}, 1), "plain-20270102-030405.ORV");
  EXPECT_EQ(RecoveryFileName("", kEvening, 3), "Orvanta-20261207-183005-3.ORV");
}

// Every failure gets a file of its own, in a folder made for it; nothing there is overwritten,
// and the file is a user data file holding every entry.
TEST(RecoveryFile, EachFailureWritesANewLoadableFileAndOverwritesNothing) {
  test::TempDir dir;
  const std::string folder = FileInFolder(FileInFolder(dir.File("Local"), "Orvanta"), "Recovery");
  YearDatas years;
  DefaultUserListArray lists;
  for (int d = 1; d <= 3; ++d) {
    DayData& day = GetOrCreateDay(years, SplitDate(MakeDate(2026, 12, d)));
    PaymentData& payment = *day.PaymentDatas.Add(NextPaymentKey(day));
    payment.strTitle = "家賃";
    payment.lngPrice = 1000 * d;
    RecalcPaymentTotals(day);
  }
  lists[kSpecialDays].Add("1")->strValue1 = "記念日";
  const std::string data = dir.File("data.orv");

  const RecoveryWrite first = sfWriteRecoveryFile(folder, data, kEvening, years, lists);
  ASSERT_EQ(first.error, "");
  EXPECT_EQ(first.path, FileInFolder(folder, "data-20261207-183005.ORV"));
  GetOrCreateDay(years, SplitDate(MakeDate(2026, 12, 4)));
  const RecoveryWrite second = sfWriteRecoveryFile(folder, data, kEvening, years, lists);  // the same second
  ASSERT_EQ(second.error, "");
  EXPECT_EQ(second.path, FileInFolder(folder, "data-20261207-183005-2.ORV"));

  YearDatas loaded;
  DefaultUserListArray loaded_lists;
  ASSERT_EQ(sfLoadUserData(first.path, loaded, loaded_lists), "");
  ASSERT_EQ(loaded.At(1)->MonthDatas.At(1)->DayDatas.Count(), 3) << "the first file is as it was written";
  EXPECT_EQ(FindDay(loaded, SplitDate(MakeDate(2026, 12, 3)))->TotalPaymentPrice, 3000);
  EXPECT_EQ(loaded_lists[kSpecialDays].At(1)->strValue1, "記念日");
  ASSERT_EQ(sfLoadUserData(second.path, loaded, loaded_lists), "");
  EXPECT_EQ(loaded.At(1)->MonthDatas.At(1)->DayDatas.Count(), 4);
}

// A save that failed loses nothing when the file holds this schedule already, or when there
// is no file and nothing to keep.
TEST(RecoveryFile, NothingIsLostWhenTheFileHoldsTheScheduleOrThereIsNothing) {
  test::TempDir dir;
  YearDatas years;
  DefaultUserListArray lists;
  EXPECT_TRUE(ScheduleAlreadyStored("", years, lists));
  EXPECT_TRUE(ScheduleAlreadyStored(dir.File("none.orv"), years, lists));
  lists[kCashPayments].Add("1")->strValue1 = "電気";
  EXPECT_FALSE(ScheduleAlreadyStored("", years, lists));
  const std::string data = dir.File("data.orv");
  ASSERT_EQ(sfSaveUserData(data, years, lists), "");
  EXPECT_TRUE(ScheduleAlreadyStored(data, years, lists));
  GetOrCreateDay(years, SplitDate(MakeDate(2026, 12, 7)));
  EXPECT_FALSE(ScheduleAlreadyStored(data, years, lists));
  YearDatas empty;
  DefaultUserListArray no_lists;
  EXPECT_FALSE(ScheduleAlreadyStored(data, empty, no_lists)) << "everything deleted is a change too";
}

TEST(RecoveryFile, NoFolderNoFile) {
  test::TempDir dir;
  test::WriteBytes(dir.File("taken"), "a file where the folder should be");
  YearDatas years;
  DefaultUserListArray lists;
  const RecoveryWrite written = sfWriteRecoveryFile(FileInFolder(dir.File("taken"), "Recovery"), "", kEvening, years, lists);
  EXPECT_EQ(written.path, "");
  EXPECT_EQ(written.error.rfind("sfWriteRecoveryFile\t", 0), 0u) << written.error;
}

// Only recovery files written after the data file count, the newest of them; with no data file
// at all, any does.
TEST(RecoveryFile, TheNewestFileNewerThanTheDataFileIsFound) {
  test::TempDir dir;
  const std::string folder = dir.File("Recovery");
  ASSERT_FALSE(CreateFolders(folder));
  EXPECT_EQ(NewerRecoveryFile(folder, ""), "");
  EXPECT_EQ(NewerRecoveryFile(dir.File("none"), ""), "");
  const std::string data = dir.File("data.orv");
  test::WriteBytes(data, "x");
  SetWriteTime(data, std::chrono::seconds(-3600));
  const std::string older = FileInFolder(folder, "data-1.ORV"), newer = FileInFolder(folder, "data-2.orv"),
                    newest = FileInFolder(folder, "data-3.ORV"), other = FileInFolder(folder, "notes.txt");
  for (const auto& path : {older, newer, newest, other}) test::WriteBytes(path, "x");
  SetWriteTime(older, std::chrono::seconds(-7200));
  SetWriteTime(newer, std::chrono::seconds(-60));
  SetWriteTime(newest, std::chrono::seconds(-30));
  SetWriteTime(other, std::chrono::seconds(0));
  EXPECT_EQ(NewerRecoveryFile(folder, data), newest);
  SetWriteTime(data, std::chrono::seconds(-10));
  EXPECT_EQ(NewerRecoveryFile(folder, data), "");
  EXPECT_EQ(NewerRecoveryFile(folder, dir.File("gone.orv")), newest);
  EXPECT_EQ(NewerRecoveryFile(folder, ""), newest);
}

// Each data file has one journal of a stable name, which differs between data files of one
// name in different folders; paths that name the same file name the same journal.
TEST(Journal, NamedAfterTheDataFileAndItsFullPath) {
  const std::string name = JournalFileName("C:\\Users\\u\\予定.ORV");
  EXPECT_EQ(name.rfind("予定-", 0), 0u);
  EXPECT_EQ(name.substr(name.size() - 12), ".unsaved.ORV");
  EXPECT_EQ(name, JournalFileName("c:/users/U/予定.orv"));
  EXPECT_NE(name, JournalFileName("D:\\予定.ORV"));
  EXPECT_EQ(JournalFileName("").rfind("Orvanta-", 0), 0u);
}

// The start-up dialog is offered what belongs to this data file, of both kinds, whatever
// their age; journals are written in place and removed when stored.
TEST(Journal, PendingFilesAreThisDataFilesJournalAndFailedSaves) {
  test::TempDir dir;
  const std::string folder = dir.File("Recovery");
  const std::string data = dir.File("data.orv"), other = dir.File("sub/data.orv");
  YearDatas years;
  DefaultUserListArray lists;
  GetOrCreateDay(years, SplitDate(MakeDate(2026, 12, 7))).PaymentDatas.Add("1")->strTitle = "家賃";
  EXPECT_TRUE(PendingRecoveryFiles(folder, data).empty());
  ASSERT_EQ(sfWriteJournal(folder, data, years, lists), "");
  ASSERT_EQ(sfWriteJournal(folder, data, years, lists), "") << "replaced in place";
  ASSERT_EQ(sfWriteJournal(folder, other, years, lists), "");
  const RecoveryWrite failed = sfWriteRecoveryFile(folder, data, kEvening, years, lists);
  ASSERT_EQ(failed.error, "");
  SetWriteTime(failed.path, std::chrono::seconds(-86400 * 400));
  for (const char* stray : {"data-2026.ORV", "data-20261207-18300.ORV", "database-20261207-183005.ORV",
                            "data-20261207-183005-x.ORV", "notes.txt"})
    test::WriteBytes(FileInFolder(folder, stray), "x");
  // The series books beside them are part of them, not recovery files of their own.
  test::WriteBytes(failed.path + ".series", "x");
  test::WriteBytes(FileInFolder(folder, JournalFileName(data)) + ".series", "x");

  const auto pending = PendingRecoveryFiles(folder, data);
  ASSERT_EQ(pending.size(), 2u);
  EXPECT_EQ(pending[0].Path, failed.path);
  EXPECT_EQ(pending[0].Kind, RecoveryKind::kFailedSave);
  EXPECT_EQ(pending[1].Path, FileInFolder(folder, JournalFileName(data)));
  EXPECT_EQ(pending[1].Kind, RecoveryKind::kJournal);
  YearDatas loaded;
  DefaultUserListArray loaded_lists;
  ASSERT_EQ(sfLoadUserData(pending[1].Path, loaded, loaded_lists), "");
  EXPECT_EQ(FindDay(loaded, SplitDate(MakeDate(2026, 12, 7)))->PaymentDatas.At(1)->strTitle, "家賃");
  EXPECT_NE(NewerRecoveryFile(folder, ""), pending[1].Path) << "a journal is not a failed save";

  RemoveJournal(folder, data);
  RemoveJournal(folder, data);
  ASSERT_EQ(sfDiscardRecoveryFile(failed.path), "");
  EXPECT_TRUE(PendingRecoveryFiles(folder, data).empty());
  EXPECT_EQ(PendingRecoveryFiles(folder, other).size(), 1u);
}

}  // namespace
}  // namespace orv
