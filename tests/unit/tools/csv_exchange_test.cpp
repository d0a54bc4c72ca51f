#include "tools/orvtool/csv_exchange.hpp"

#include <gtest/gtest.h>

#include "platform/text_codec.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/user_data_file.hpp"

namespace orv::tool {
namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "date,kind,payment_kind,name,amount,very_special,comment\r\n";

std::vector<DatedEntry> Entries(const YearDatas& years) {
  std::vector<DatedEntry> entries;
  EXPECT_EQ(ListScheduleEntries(years, entries), "");
  return entries;
}

std::string Image(const YearDatas& years) {
  std::string bytes;
  EXPECT_EQ(SerializeUserData(years, {}, bytes), "");
  return bytes;
}

TEST(CsvWriting, QuotesOnlyFieldsThatNeedIt) {
  EXPECT_EQ(CsvField("家賃 月末"), "家賃 月末");
  EXPECT_EQ(CsvField(""), "");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("one\r\ntwo"), "\"one\r\ntwo\"");
  EXPECT_EQ(CsvField("lone\rcr"), "\"lone\rcr\"");
}

TEST(CsvWriting, ByteOrderMarkHeaderAndOneRowPerEntry) {
  YearDatas years;
  AddNewEntry(years, {2026, 3, 8}, {kAutomaticTransfers, "家賃", 50000, {}});
  AddNewEntry(years, {2026, 3, 8}, {kCashPayments, "", -300, {}});
  AddNewEntry(years, {2026, 3, 8}, {kVerySpecialDays, "誕生日", 0, "花, \"赤\""});
  AddNewEntry(years, {987, 1, 2}, {kSpecialDays, "昔", 0, ""});
  EXPECT_EQ(WriteCsv(Entries(years)), kBom + kHeader +
                                          "2026-03-08,payment,automatic,家賃,50000,,\r\n"
                                          "2026-03-08,payment,cash,,-300,,\r\n"
                                          "2026-03-08,special,,誕生日,,1,\"花, \"\"赤\"\"\"\r\n"
                                          "0987-01-02,special,,昔,,0,\r\n");
  EXPECT_EQ(WriteCsv({}), kBom + kHeader);
}

TEST(CsvReading, RecordsWithQuotesLineBreaksAndTheirStartingLines) {
  std::vector<CsvRecord> records;
  std::vector<CsvProblem> problems;
  ReadCsvRecords(
      "a,\"b,\"\"c\"\"\",\r\n"
      "\"multi\r\nline\nfield\",x\n"
      "\n"
      "\r\n"
      "last,\"\"\r"
      "after cr",
      records, problems);
  EXPECT_TRUE(problems.empty());
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].line, 1);
  EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b,\"c\"", ""}));
  EXPECT_EQ(records[1].line, 2);
  EXPECT_EQ(records[1].fields, (std::vector<std::string>{"multi\r\nline\nfield", "x"}));
  EXPECT_EQ(records[2].line, 7);  // after the two empty lines
  EXPECT_EQ(records[2].fields, (std::vector<std::string>{"last", ""}));
  EXPECT_EQ(records[3].line, 8);
  EXPECT_EQ(records[3].fields, (std::vector<std::string>{"after cr"}));
}

TEST(CsvReading, BrokenQuotingIsReportedAndReadingGoesOn) {
  std::vector<CsvRecord> records;
  std::vector<CsvProblem> problems;
  ReadCsvRecords("ok,1\nab\"c,2\n\"closed\"x,3\nfine,4\n\"never\nclosed,5\n", records, problems);
  EXPECT_EQ(problems, (std::vector<CsvProblem>{
                          {2, "a quote inside a field that does not start with one"},
                          {3, "text after the closing quote of a field"},
                          {5, "a quoted field is not closed"},
                      }));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].fields, (std::vector<std::string>{"fine", "4"}));
}

TEST(CsvImport, ExportThenImportIntoAnEmptyScheduleGivesTheSameSchedule) {
  YearDatas years;
  // Out of date order, texts with every character CSV must quote, the extreme amounts.
  AddNewEntry(years, {2027, 1, 1}, {kSpecialDays, "元日", 0, "\"初詣\", 神社\r\n二行目\n三行目"});
  AddNewEntry(years, {2026, 12, 31}, {kCashPayments, "a,b", 2147483647, {}});
  AddNewEntry(years, {2026, 12, 30}, {kAutomaticTransfers, "", -2147483647 - 1, {}});
  AddNewEntry(years, {2026, 12, 31}, {kVerySpecialDays, "大晦日", 0, ""});
  AddNewEntry(years, {2026, 12, 31}, {kSpecialDays, " 空白 ", 0, " "});
  AddNewEntry(years, {2026, 1, 5}, {kAutomaticTransfers, "家賃", 50000, {}});
  const std::string csv = WriteCsv(Entries(years));

  YearDatas back;
  const ImportResult result = ImportCsv(csv, back);
  EXPECT_TRUE(result.problems.empty()) << result.problems.front().reason;
  EXPECT_EQ(result.added, 6);
  EXPECT_EQ(Image(back), Image(years));
  EXPECT_EQ(WriteCsv(Entries(back)), csv);
}

TEST(CsvImport, RowsAreAddedAfterTheExistingEntriesOfTheirDay) {
  YearDatas years;
  AddNewEntry(years, {2026, 3, 8}, {kSpecialDays, "前から", 0, ""});
  const ImportResult result = ImportCsv(
      kHeader + "2026-03-08,special,,新しい,,1,\r\n2026/3/9,payment,Cash,昼食, 800 ,,\r\n", years);
  ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
  const DayData& day = *FindDay(years, {2026, 3, 8});
  ASSERT_EQ(day.SpecialDatas.Count(), 2);
  EXPECT_EQ(day.SpecialDatas.At(2)->Key, "2");
  EXPECT_EQ(day.SpecialTitle, "新しい");  // the totals are recomputed, as the dialog does
  EXPECT_TRUE(day.TotalSpecial);
  EXPECT_EQ(FindDay(years, {2026, 3, 9})->TotalPaymentPrice, 800);
  EXPECT_TRUE(FindDay(years, {2026, 3, 9})->TotalCash);
}

TEST(CsvImport, EveryRefusalNamesItsLineAndReason) {
  const std::string emoji = "\xF0\x9F\x98\x80";
  const std::string too_long(32768, 'a');
  struct Case {
    std::string row;
    std::string reason;
  } cases[] = {
      {"2026-03-08,payment,cash,x,1,", "expected 7 fields, found 6"},
      {"2026-03-08,payment,cash,x,1,,,", "expected 7 fields, found 8"},
      {"08.03.2026,payment,cash,x,1,,", "the date \"08.03.2026\" is not written as YYYY-MM-DD"},
      {"2026-03/08,payment,cash,x,1,,", "the date \"2026-03/08\" is not written as YYYY-MM-DD"},
      {"2026-02-29,payment,cash,x,1,,", "\"2026-02-29\" is not a day of the calendar"},
      {"2026-13-01,payment,cash,x,1,,", "\"2026-13-01\" is not a day of the calendar"},
      {"0000-01-01,payment,cash,x,1,,", "\"0000-01-01\" is not a day of the calendar"},
      {"2026-03-08,refund,cash,x,1,,", "the kind must be payment or special, not \"refund\""},
      {"2026-03-08,payment,card,x,1,,", "the payment_kind must be automatic or cash, not \"card\""},
      {"2026-03-08,payment,cash,x,,,", "the amount \"\" is not a whole number"},
      {"2026-03-08,payment,cash,x,1500.5,,", "the amount \"1500.5\" is not a whole number"},
      {"2026-03-08,payment,cash,x,\"1,500\",,", "the amount \"1,500\" is not a whole number"},
      {"2026-03-08,payment,cash,x,2147483648,,",
       "the amount 2147483648 is outside -2,147,483,648 to 2,147,483,647"},
      {"2026-03-08,payment,cash,x,-2147483649,,",
       "the amount -2147483649 is outside -2,147,483,648 to 2,147,483,647"},
      {"2026-03-08,payment,cash,x,0,,", "a payment's amount must not be 0"},
      {"2026-03-08,payment,cash,x,1,0,",
       "very_special is for special days only; leave it empty for a payment"},
      {"2026-03-08,payment,cash,x,1,,note", "a payment has no comment; leave the comment empty"},
      {"2026-03-08,payment,cash,x" + emoji + ",1,,",
       "the name holds \"" + emoji + "\" (U+1F600), which code page 932 cannot represent"},
      {"2026-03-08,payment,automatic," + too_long + ",1,,",
       "the name takes 32768 bytes in code page 932; the user data file stores at most 32767"},
      {"2026-03-08,special,cash,x,,1,",
       "payment_kind is for payments only; leave it empty for a special day"},
      {"2026-03-08,special,,x,5,1,",
       "amount is for payments only; leave it empty for a special day"},
      {"2026-03-08,special,,x,,yes,", "very_special must be 0 or 1, not \"yes\""},
      {"2026-03-08,special,,,,1,comment", "a special day needs a title"},
      {"2026-03-08,special,,x" + emoji + ",,0,",
       "the title holds \"" + emoji + "\" (U+1F600), which code page 932 cannot represent"},
      {"2026-03-08,special,,x,,0,한",
       "the comment holds \"한\" (U+D55C), which code page 932 cannot represent"},
      {"2026-03-08,special,,x,,0," + too_long,
       "the comment takes 32768 bytes in code page 932; the user data file stores at most 32767"},
  };
  for (const auto& c : cases) {
    YearDatas years;
    const auto result =
        ImportCsv(kHeader + "2026-01-01,special,,good,,0,\r\n" + c.row + "\r\n", years);
    EXPECT_EQ(result.problems, (std::vector<CsvProblem>{{3, c.reason}})) << c.row.substr(0, 60);
  }
}

TEST(CsvImport, DayTotalsCountTheFileAndTheEarlierRows) {
  YearDatas years;
  AddNewEntry(years, {2026, 3, 8}, {kCashPayments, "a", 2147483000, {}});
  const auto result = ImportCsv(kHeader +
                                    "2026-03-08,payment,cash,b,600,,\r\n"  // 2147483600: fits
                                    "2026-03-08,payment,cash,c,48,,\r\n"   // 2147483648: does not
                                    "2026-03-08,payment,cash,d,47,,\r\n"   // exactly the largest
                                    "2026-03-09,payment,cash,e,-2147483648,,\r\n"
                                    "2026-03-09,payment,cash,f,-1,,\r\n",
                                years);
  const std::string reason =
      "would add up to more than a day's total holds (-2,147,483,648 to 2,147,483,647)";
  EXPECT_EQ(result.problems,
            (std::vector<CsvProblem>{{3, "the payments of 2026-03-08 " + reason},
                                     {6, "the payments of 2026-03-09 " + reason}}));
  EXPECT_EQ(FindDay(years, {2026, 3, 8})->TotalPaymentPrice, 2147483647);
}

TEST(CsvImport, HeaderIsRequiredAndTheByteOrderMarkOptional) {
  const std::string row = "2026-03-08,special,,x,,0,\r\n";
  struct Case {
    std::string text;
    std::vector<CsvProblem> problems;
  } cases[] = {
      {kHeader + row, {}},
      {kBom + kHeader + row, {}},
      {"DATE, Kind ,payment_kind,name,amount,very_special,comment\n" + row, {}},
      {"",
       {{1,
         "the first row must be the header "
         "date,kind,payment_kind,name,amount,very_special,comment"}}},
      {kBom,
       {{1,
         "the first row must be the header "
         "date,kind,payment_kind,name,amount,very_special,comment"}}},
      {row,
       {{1,
         "the first row must be the header "
         "date,kind,payment_kind,name,amount,very_special,comment"}}},
      {"\n\n" + kHeader + row, {}},
  };
  for (const auto& c : cases) {
    YearDatas years;
    EXPECT_EQ(ImportCsv(c.text, years).problems, c.problems) << c.text;
  }
}

TEST(CsvImport, TextThatIsNotUtf8IsReadAsCodePage932OrRefused) {
  // What a spreadsheet on Japanese Windows saves by default: code page 932, no mark.
  const auto cp932 = Utf8ToCp932(kHeader + "2026/3/8,special,,誕生日,,1,花\r\n");
  ASSERT_TRUE(cp932);
  YearDatas years;
  ASSERT_TRUE(ImportCsv(*cp932, years).problems.empty());
  EXPECT_EQ(FindDay(years, {2026, 3, 8})->SpecialDatas.At(1)->strComment, "花");

  const std::string broken = "2026-03-08,special,,x,,0,\xFF\xFF\r\n";
  YearDatas none;
  EXPECT_EQ(ImportCsv(kHeader + "\r\n" + broken, none).problems,
            (std::vector<CsvProblem>{{3, "the text is neither UTF-8 nor code page 932"}}));
  EXPECT_EQ(ImportCsv(kBom + kHeader + broken, none).problems,
            (std::vector<CsvProblem>{{2, "the text is not valid UTF-8"}}));
  EXPECT_EQ(none.Count(), 0);
}

}  // namespace
}  // namespace orv::tool
