#pragma once
// Copies a sync client leaves beside the data file when two computers changed it at once are
// reported once each: the user may merge one in (without a base nothing counts as deleted:
// every entry of either side stays), or leave it. The series the other computer kept beside
// its copy come with it (UnionSeriesBooks: every series of either side stays, one both have
// once), so repeating entries made there stay repeating entries here. A copy the client made
// of the companion alone (the other computer changed only the series) is offered the same way;
// one that came with a copy of the data file is part of that copy's offer. Which copies were reported is kept in the
// settings store (section "UserData", key "ReportedConflictCopies", the names joined by '|',
// a character no Windows file name holds).
#include <string>
#include <vector>

#include "core/app_state.hpp"
#include "platform/settings_store.hpp"

namespace orv {

inline constexpr char kConflictCopyTitle[] = "同期ソフトの競合コピー";
std::string ConflictCopyQuestion(const std::string& copy_path);
// A copy of the series companion alone (the data file itself did not conflict): the question,
// and what is told once its series were merged in.
std::string SeriesConflictCopyQuestion(const std::string& copy_path);
std::string SeriesTakenInText(const std::string& copy_path, std::size_t series_added);

class ConflictPorts {
public:
  virtual ~ConflictPorts() = default;
  // File names (no folders) in the data file's folder, and this computer's name.
  virtual std::vector<std::string> FolderFiles(const std::string& folder) = 0;
  virtual std::string ComputerName() = 0;
  // Yes/No; true for Yes.
  virtual bool AskMerge(const std::string& text) = 0;
  virtual std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray& lists) = 0;
  // The series book in a companion file; empty when it is missing or does not read (the
  // copy's entries still come, as plain entries).
  virtual SeriesBook LoadSeries(const std::string& path) = 0;
  // The schedule in memory took a copy's entries: durable and saved now, and told in one
  // message (`text`).
  virtual void Merged(const std::string& text) = 0;
};

// Looks for copies of state.UserDataPath not reported before; returns how many were merged.
int OfferConflictCopies(AppState& state, SettingsStore& store, ConflictPorts& ports);

}  // namespace orv
