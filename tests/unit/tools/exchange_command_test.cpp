#include "tools/orvtool/exchange_command.hpp"

#include <gtest/gtest.h>

#include "platform/file_system.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/user_data_file.hpp"
#include "support/temp_dir.hpp"

namespace orv::tool {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const std::string kHeader = "date,kind,payment_kind,name,amount,very_special,comment\r\n";

struct Outcome {
  int code = -1;
  std::string out, err;
};

Outcome Export(std::vector<std::string> args) {
  Outcome run;
  run.code = RunExportCommand(args, run.out, run.err);
  return run;
}
Outcome Import(std::vector<std::string> args) {
  Outcome run;
  run.code = RunImportCommand(args, run.out, run.err);
  return run;
}

class ExchangeCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    AddNewEntry(years, {2026, 3, 8}, {kAutomaticTransfers, "家賃", 50000, {}});
    AddNewEntry(years, {2025, 12, 24}, {kVerySpecialDays, "イブ", 0, "ケーキ,\r\n予約済み"});
    lists[kCashPayments].Add("1")->strValue1 = "昼食";
    ASSERT_EQ(sfSaveUserData(orv, years, lists), "");
  }

  test::TempDir dir_;
  const std::string orv = dir_.File("予定.ORV");
  YearDatas years;
  DefaultUserListArray lists;
};

TEST_F(ExchangeCommandTest, ExportWritesStandardOutputOrReplacesTheNamedFile) {
  for (const char* format : {"ics", "csv"}) {
    const Outcome to_stdout = Export({"--format", format, orv});
    EXPECT_EQ(to_stdout.code, 0) << to_stdout.err;
    EXPECT_EQ(to_stdout.err, "");
    EXPECT_NE(to_stdout.out.find("家賃"), std::string::npos);

    const std::string out = dir_.File(std::string("書き出し.") + format);
    WriteBytes(out, std::string(100000, 'x'));  // an older, longer file
    test::MakeReadOnly(out);
    const Outcome to_file = Export({orv, "-o", out, std::string("--format=") + format});
    EXPECT_EQ(to_file.code, 0) << to_file.err;
    EXPECT_EQ(to_file.out, "");
    EXPECT_EQ(ReadBytes(out), to_stdout.out);
  }
}

TEST_F(ExchangeCommandTest, ADamagedFileGivesTheLoadersErrorAndNoOutput) {
  const std::string bytes = ReadBytes(orv);
  WriteBytes(orv, bytes.substr(0, 30));
  const std::string out = dir_.File("out.ics");
  for (const char* format : {"ics", "csv"}) {
    const Outcome run = Export({"--format", format, orv});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "orvtool: " + orv +
                           ": sfLoadUserData 2 ファイルが途中で終わっています (offset 30)\n");
    EXPECT_EQ(Export({"--format", format, orv, "-o", out}).code, 1);
    EXPECT_FALSE(FileExists(out));
  }
  const Outcome missing = Export({"--format", "csv", dir_.File("none.ORV")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("sfLoadUserData 0 ファイルが存在しません"), std::string::npos);
}

TEST_F(ExchangeCommandTest, ExportNeverWritesOverTheDataFileItself) {
  const std::string before = ReadBytes(orv);
  const std::string other_name = dir_.File(".") + "/予定.ORV";  // the same file, spelt otherwise
  for (const std::string& out : {orv, other_name}) {
    const Outcome run = Export({"--format", "ics", orv, "-o", out});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("is the data file being exported"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadBytes(orv), before);
}

TEST_F(ExchangeCommandTest, UsageErrors) {
  const std::vector<std::vector<std::string>> exports{{},
                                                      {orv},
                                                      {"--format", "json", orv},
                                                      {"--format", "ics"},
                                                      {"--format", "ics", orv, orv},
                                                      {"--format", "ics", orv, "-o"},
                                                      {"--format", "ics", orv, "--verbose"}};
  for (const auto& args : exports) {
    const Outcome run = Export(args);
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("usage: orvtool export", 0), 0u);
  }
  const std::vector<std::vector<std::string>> imports{{"--format", "csv", orv},
                                                      {"--format", "ics", orv, orv},
                                                      {orv, orv},
                                                      {"--format", "csv", orv, orv, "-o", orv}};
  for (const auto& args : imports) EXPECT_EQ(Import(args).code, 2);
}

TEST_F(ExchangeCommandTest, ImportAddsEveryRowOrNone) {
  const std::string before = ReadBytes(orv);
  const std::string bad = dir_.File("bad.csv");
  WriteBytes(bad, kHeader +
                      "2026-03-09,payment,cash,昼食,800,,\r\n"
                      "2026-03-10,payment,cash,夕食,0,,\r\n"
                      "2026-03-11,special,,\"二行の\r\nタイトル\",,2,\r\n"
                      "2026-03-12,special,,x,,0,\r\n");
  const Outcome refused = Import({"--format", "csv", orv, bad});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, bad + ":3: a payment's amount must not be 0\n" + bad +
                             ":4: very_special must be 0 or 1, not \"2\"\n"
                             "orvtool: nothing imported; " +
                             orv + " is unchanged\n");
  EXPECT_EQ(ReadBytes(orv), before);

  const std::string good = dir_.File("good.csv");
  WriteBytes(good, kHeader + "2026-03-08,payment,cash,昼食,800,,\r\n2026-03-12,special,,x,,0,\r\n");
  const Outcome added = Import({"--format", "csv", orv, good});
  EXPECT_EQ(added.code, 0) << added.err;
  EXPECT_EQ(added.out, orv + ": 2 entries added\n");
  YearDatas loaded;
  DefaultUserListArray loaded_lists;
  ASSERT_EQ(sfLoadUserData(orv, loaded, loaded_lists), "");
  const DayData& day = *FindDay(loaded, {2026, 3, 8});
  EXPECT_EQ(day.PaymentDatas.Count(), 2);
  EXPECT_EQ(day.TotalPaymentPrice, 50800);
  EXPECT_TRUE(day.TotalCash);
  EXPECT_EQ(FindDay(loaded, {2025, 12, 24})->SpecialDatas.Count(), 1);
  EXPECT_EQ(loaded_lists[kCashPayments].At(1)->strValue1, "昼食");  // presets are kept
}

TEST_F(ExchangeCommandTest, ExportThenImportIntoANewFileGivesTheSameSchedule) {
  const std::string csv = dir_.File("all.csv");
  ASSERT_EQ(Export({"--format", "csv", orv, "-o", csv}).code, 0);
  const std::string copy = dir_.File("copy.ORV");
  const Outcome run = Import({"--format", "csv", copy, csv});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, copy + ": 2 entries added (new file)\n");
  std::string expected;
  ASSERT_EQ(SerializeUserData(years, {}, expected), "");  // the schedule without the presets
  EXPECT_EQ(ReadBytes(copy), expected);
}

TEST_F(ExchangeCommandTest, ImportRefusesADataFileThatDoesNotLoadAndAMissingCsv) {
  const std::string csv = dir_.File("rows.csv");
  WriteBytes(csv, kHeader);
  const std::string version2("\x02\x00", 2);
  WriteBytes(orv, version2);
  const Outcome damaged = Import({"--format", "csv", orv, csv});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_NE(damaged.err.find("sfLoadUserData 1"), std::string::npos) << damaged.err;
  EXPECT_EQ(ReadBytes(orv), version2);
  const Outcome missing = Import({"--format", "csv", orv, dir_.File("none.csv")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err.rfind("orvtool: " + dir_.File("none.csv") + ": ", 0), 0u) << missing.err;
}

}  // namespace
}  // namespace orv::tool
