#include "app/backup_restore.hpp"

#include <utility>

#include "app/startup.hpp"
#include "schedule/schedule_merge.hpp"
#include "series/series.hpp"

namespace orv {

std::string TakenInText(const ScheduleChanges& changes, const std::string& source, std::size_t series_added) {
  std::string text = "次のファイルの予定を、いまの予定に取り込みました。どちらの予定も失われていません。\r\n" + source +
                     "\r\n\r\n" + DescribeChanges(changes);
  if (series_added > 0) text += "繰り返しの予定の設定 " + std::to_string(series_added) + " 件も取り込みました。\r\n";
  return text;
}

std::size_t SeriesAdded(const SeriesBook& before, const SeriesBook& after) {
  std::size_t added = 0;
  for (const Series& series : after.series) added += before.Find(series.id) ? 0 : 1;
  return added;
}

std::string ReplaceConfirmText(const ScheduleChanges& changes, const std::string& backup_path) {
  return "予定を次のバックアップの内容に置き換えます:\r\n" + backup_path + "\r\n\r\n" + DescribeChanges(changes) +
         "\r\n\r\n置き換えますか？";
}

std::string ReplacedText(const ScheduleChanges& changes, const std::string& backup_path) {
  return "予定を次のバックアップの内容に置き換えました:\r\n" + backup_path + "\r\n\r\n" + DescribeChanges(changes);
}

SeriesBook UniteSeriesBooks(const SeriesBook& mine, const SeriesBook& theirs) {
  // As a three-way merge whose base holds the backup's version of every series both have:
  // unchanged on the backup's side, memory's version stands.
  SeriesBook base;
  base.next_id = theirs.next_id;
  for (const Series& series : theirs.series)
    if (mine.Find(series.id)) base.series.push_back(series);
  return MergeSeriesBooks(base, mine, theirs);
}

bool RestoreFromBackup(AppState& state, BackupRestorePorts& ports) {
  const std::vector<BackupInfo> backups = ports.Backups(state.UserDataPath);
  if (backups.empty()) {
    ports.Tell(kNoBackupsText);
    return false;
  }
  std::vector<std::string> lines;
  for (const BackupInfo& backup : backups) lines.push_back(DescribeBackup(backup));
  const std::optional<BackupChoice> choice = ports.Choose(lines);
  if (!choice || choice->index >= backups.size()) return false;
  const std::string& path = backups[choice->index].Path;
  YearDatas years;
  DefaultUserListArray lists;
  SeriesBook book;
  if (!ports.Load(path, years, lists, book).empty()) {
    ports.Tell(LoadFailureMessage(path));
    return false;
  }
  if (choice->use == BackupUse::kMerge) {
    MergeResult result = UnionSchedules({state.Years, state.DefaultUserLists}, {years, lists});
    SeriesBook united = UniteSeriesBooks(state.Series, book);
    if (result.FromTheirs.Empty() && united == state.Series) {
      ports.Tell(kNothingToTakeInText + path);
      return false;
    }
    state.Years = std::move(result.Years);
    state.DefaultUserLists = std::move(result.Lists);
    const std::size_t series_added = SeriesAdded(state.Series, united);
    state.Series = std::move(united);
    ports.Restored(TakenInText(result.FromTheirs, path, series_added));
    return true;
  }
  const ScheduleChanges changes = DiffSchedules({state.Years, state.DefaultUserLists}, {years, lists});
  if ((changes.Empty() && book == state.Series) || !ports.ConfirmReplace(ReplaceConfirmText(changes, path))) return false;
  state.Years = std::move(years);
  state.DefaultUserLists = std::move(lists);
  state.Series = std::move(book);
  ports.Restored(ReplacedText(changes, path));
  return true;
}

}  // namespace orv
