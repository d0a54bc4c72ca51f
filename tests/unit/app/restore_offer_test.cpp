#include "app/restore_offer.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "schedule/new_entry.hpp"
#include "schedule/schedule_merge.hpp"

namespace orv {
namespace {

void Add(YearDatas& years, int day, const char* name) {
  AddNewEntry(years, SplitDate(MakeDate(2026, 12, day)), {kCashPayments, name, 100, {}});
}

int Entries(const YearDatas& years) {
  int n = 0;
  for (const auto& y : years)
    for (const auto& m : y.MonthDatas)
      for (const auto& d : m.DayDatas) n += d.PaymentDatas.Count();
  return n;
}

class ScriptedRestore : public RestorePorts {
public:
  std::vector<PendingRecovery> pending;
  // The payments of each file as (day, name); a file not listed does not load.
  std::map<std::string, std::vector<std::pair<int, const char*>>> files;
  std::deque<RestoreChoice> choices;
  std::deque<bool> confirmations;
  std::vector<std::string> log;

  std::vector<PendingRecovery> PendingRecoveries(const std::string& data_path) override {
    log.push_back("list " + data_path);
    return pending;
  }
  std::map<std::string, SeriesBook> books;  // a file's companion; none: an empty book
  std::string LoadRecovery(const std::string& path, YearDatas& years, DefaultUserListArray&,
                           SeriesBook& book) override {
    const auto it = files.find(path);
    if (it == files.end()) return "sfLoadUserData\t2\ttruncated\n";
    for (const auto& [day, name] : it->second) Add(years, day, name);
    if (const auto b = books.find(path); b != books.end()) book = b->second;
    return {};
  }
  RestoreChoice AskRestore(const std::string& text) override {
    log.push_back("ask");
    last_text = text;
    const RestoreChoice c = choices.front();
    choices.pop_front();
    return c;
  }
  bool ConfirmDiscard(const std::string&) override {
    log.push_back("confirm");
    const bool c = confirmations.front();
    confirmations.pop_front();
    return c;
  }
  void Discard(const std::string& path) override { log.push_back("discard " + path); }
  void KeepAside(const PendingRecovery& journal) override { log.push_back("aside " + journal.Path); }
  std::string last_text;
};

struct Case {
  const char* what;
  RecoveryKind kind;
  std::deque<RestoreChoice> choices;
  std::deque<bool> confirmations;
  std::vector<std::string> log;  // after the listing
  int entries_after;             // in memory (1 loaded, the recovery holds 2)
};

TEST(RestoreOffer, EachChoiceDoesWhatItSaysAndADiscardNeedsConfirming) {
  using enum RestoreChoice;
  const Case cases[] = {
      {"restore", RecoveryKind::kJournal, {kRestore}, {}, {"ask", "discard J"}, 2},
      {"keep a journal", RecoveryKind::kJournal, {kKeep}, {}, {"ask", "aside J"}, 1},
      {"keep a failed save", RecoveryKind::kFailedSave, {kKeep}, {}, {"ask"}, 1},
      {"discard", RecoveryKind::kFailedSave, {kDiscard}, {true}, {"ask", "confirm", "discard J"}, 1},
      {"discard not confirmed, then restore", RecoveryKind::kJournal, {kDiscard, kRestore}, {false},
       {"ask", "confirm", "ask", "discard J"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state;
    state.UserDataPath = "C:\\d\\my.orv";
    Add(state.Years, 1, "家賃");
    ScriptedRestore ports;
    ports.pending = {{"J", c.kind, 5}};
    ports.files["J"] = {{1, "家賃"}, {2, "電気"}};
    ports.choices = c.choices;
    ports.confirmations = c.confirmations;
    OfferRecoveries(state, ports);
    std::vector<std::string> expected{"list C:\\d\\my.orv"};
    expected.insert(expected.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(ports.log, expected);
    EXPECT_EQ(Entries(state.Years), c.entries_after);
    EXPECT_NE(ports.last_text.find("保管場所: J"), std::string::npos) << ports.last_text;
  }
}

// A file holding nothing the schedule lacks goes without a word; one that does not load stays
// for the user; the others are offered oldest first, each against the schedule as it stands.
TEST(RestoreOffer, NothingNewGoesQuietlyUnloadableStaysAndTheRestAreOfferedInTurn) {
  AppState state;
  Add(state.Years, 1, "家賃");
  ScriptedRestore ports;
  ports.pending = {{"same", RecoveryKind::kFailedSave, 1}, {"broken", RecoveryKind::kFailedSave, 2},
                   {"older", RecoveryKind::kFailedSave, 3}, {"journal", RecoveryKind::kJournal, 4}};
  ports.files["same"] = {{1, "家賃"}};
  ports.files["older"] = {{1, "家賃"}, {2, "電気"}};
  ports.files["journal"] = {{1, "家賃"}, {2, "電気"}, {3, "ガス"}};
  ports.choices = {RestoreChoice::kRestore, RestoreChoice::kRestore};
  const RestoreOutcome outcome = OfferRecoveries(state, ports);
  EXPECT_EQ(ports.log, (std::vector<std::string>{"list ", "discard same", "ask", "discard older", "ask", "discard journal"}));
  EXPECT_EQ(outcome.restored, 2);
  EXPECT_EQ(Entries(state.Years), 3);
  // The second offer lists only what the first restore did not bring.
  YearDatas older, journal;
  DefaultUserListArray lists;
  SeriesBook book;
  ports.LoadRecovery("older", older, lists, book);
  ports.LoadRecovery("journal", journal, lists, book);
  const ScheduleChanges second = DiffSchedules({older, lists}, {journal, lists});
  EXPECT_EQ(ports.last_text, RestoreOfferText(UnsavedChangesText(second), "journal"));
}

// The book travels with its recovery file: a restore brings it back, and a file whose entries
// the schedule has but whose book is later (a series ended, a date skipped with no entry left
// to remove) gives its book back without asking.
TEST(RestoreOffer, TheSeriesBookComesBackWithItsRecoveryFile) {
  SeriesBook book;
  book.series.push_back({});
  book.series[0].id = 1;
  book.series[0].skipped.push_back(MakeDate(2027, 1, 1));
  book.next_id = 2;
  struct Case {
    const char* what;
    std::vector<std::pair<int, const char*>> entries;
    std::vector<std::string> log;  // after the listing
  };
  const Case cases[] = {
      {"entries and book restored", {{1, "家賃"}, {2, "電気"}}, {"ask", "discard J"}},
      {"only the book differs", {{1, "家賃"}}, {"discard J"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state;
    Add(state.Years, 1, "家賃");
    ScriptedRestore ports;
    ports.pending = {{"J", RecoveryKind::kJournal, 5}};
    ports.files["J"] = c.entries;
    ports.books["J"] = book;
    ports.choices = {RestoreChoice::kRestore};
    EXPECT_EQ(OfferRecoveries(state, ports).restored, 1);
    std::vector<std::string> expected{"list "};
    expected.insert(expected.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(ports.log, expected);
    EXPECT_EQ(state.Series, book);
  }
}

}  // namespace
}  // namespace orv
