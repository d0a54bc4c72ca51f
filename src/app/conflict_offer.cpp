#include "app/conflict_offer.hpp"

#include <algorithm>
#include <utility>

#include "app/backup_restore.hpp"
#include "core/settings.hpp"
#include "platform/file_system.hpp"
#include "platform/windows_path.hpp"
#include "schedule/conflict_copies.hpp"
#include "schedule/schedule_merge.hpp"
#include "series/series.hpp"

namespace orv {
namespace {

constexpr char kReportedKey[] = "ReportedConflictCopies";

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t bar = std::min(text.find('|', start), text.size());
    if (bar > start) names.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  return names;
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ConflictCopyQuestion(const std::string& copy_path) {
  return "同期ソフトが、ユーザーデータファイルの競合コピーを残しています:\r\n" + copy_path +
         "\r\n\r\nこのコピーの予定をユーザーデータファイルに統合しますか？\r\n"
         "（どちらにある予定も残ります。コピーはそのまま残ります）";
}

std::string SeriesConflictCopyQuestion(const std::string& copy_path) {
  return "同期ソフトが、繰り返しの予定のファイルの競合コピーを残しています:\r\n" + copy_path +
         "\r\n\r\nこのコピーの繰り返しの予定を、いまの繰り返しの予定に統合しますか？\r\n"
         "（どちらにある繰り返しの予定も残ります。コピーはそのまま残ります）";
}

std::string SeriesTakenInText(const std::string& copy_path, std::size_t series_added) {
  return "次のファイルの繰り返しの予定を、いまの繰り返しの予定に取り込みました。どちらも失われていません。\r\n" +
         copy_path + "\r\n\r\n" +
         (series_added > 0 ? "繰り返しの予定の設定 " + std::to_string(series_added) + " 件を取り込みました。"
                           : std::string("新しい繰り返しの予定はなく、除いた日付などを取り込みました。"));
}

int OfferConflictCopies(AppState& state, SettingsStore& store, ConflictPorts& ports) {
  if (state.UserDataPath.empty()) return 0;
  const std::string folder = FolderOf(state.UserDataPath);
  const std::string data_name = NameOf(state.UserDataPath);
  const std::vector<std::string> files = ports.FolderFiles(folder);
  const std::string computer = ports.ComputerName();
  const std::vector<std::string> copies = FindConflictCopies(data_name, files, computer);
  const std::vector<std::string> series_copies = FindConflictCopies(data_name + kSeriesFileExtension, files, computer);
  if (copies.empty() && series_copies.empty()) return 0;
  std::string reported_text = store.Get(kApplicationName, "UserData", kReportedKey, "");
  std::vector<std::string> reported = Split(reported_text);
  auto was_reported = [&reported](const std::string& name) {
    return std::find(reported.begin(), reported.end(), name) != reported.end();
  };
  // Reported once, whatever the answer: remembered before asking.
  auto remember = [&](const std::string& name) {
    reported.push_back(name);
    reported_text += (reported_text.empty() ? "" : "|") + name;
    store.Set(kApplicationName, "UserData", kReportedKey, reported_text);
  };
  int merged = 0;
  for (const std::string& name : copies) {
    if (was_reported(name)) continue;
    remember(name);
    // The companion that came with it is part of this offer; one the sync client brings only
    // later is offered on its own then.
    const std::string companion = ConflictCopyCompanion(data_name, name, kSeriesFileExtension, files);
    if (!companion.empty()) remember(companion);
    const std::string path = FileInFolder(folder, name);
    if (!ports.AskMerge(ConflictCopyQuestion(path))) continue;
    YearDatas years;
    DefaultUserListArray lists;
    if (!ports.Load(path, years, lists).empty()) continue;
    SeriesBook united =
        companion.empty() ? state.Series : UnionSeriesBooks(state.Series, ports.LoadSeries(FileInFolder(folder, companion)));
    MergeResult result = UnionSchedules({state.Years, state.DefaultUserLists}, {years, lists});
    if (result.FromTheirs.Empty() && united == state.Series) continue;
    const std::size_t series_added = SeriesAdded(state.Series, united);
    state.Years = std::move(result.Years);
    state.DefaultUserLists = std::move(result.Lists);
    state.Series = std::move(united);
    ports.Merged(TakenInText(result.FromTheirs, path, series_added));
    ++merged;
  }
  for (const std::string& name : series_copies) {
    if (was_reported(name)) continue;
    remember(name);
    const std::string path = FileInFolder(folder, name);
    if (!ports.AskMerge(SeriesConflictCopyQuestion(path))) continue;
    SeriesBook united = UnionSeriesBooks(state.Series, ports.LoadSeries(path));
    if (united == state.Series) continue;
    const std::size_t series_added = SeriesAdded(state.Series, united);
    state.Series = std::move(united);
    ports.Merged(SeriesTakenInText(path, series_added));
    ++merged;
  }
  return merged;
}

}  // namespace orv
