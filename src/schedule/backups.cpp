#include "schedule/backups.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <tuple>

#include "core/keyed_collection.hpp"
#include "core/safe.hpp"
#include "platform/file_system.hpp"
#include "schedule/recovery_file.hpp"
#include "schedule/schedule.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"

namespace orv {
namespace {

constexpr std::string_view kExtension = ".ORV";
constexpr const char* kBackup = "sfBackupBeforeSave";
constexpr int kMostAttempts = 100;

std::string_view Stem(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  name = dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
  return name.empty() ? std::string_view("Orvanta") : name;
}

std::string Prefix(std::string_view data_path) {
  return std::string(Stem(data_path)) + "-" + DataPathTag(data_path) + "-";
}

std::optional<int> Digits(std::string_view s) {
  if (s.empty() || s.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  int n = 0;
  for (char c : s) n = n * 10 + (c - '0');
  return n;
}

auto Order(const LocalTime& t) { return std::tie(t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second); }

std::int64_t DayNumber(const LocalTime& t) {
  using namespace std::chrono;
  return sys_days(year(t.Year) / month(static_cast<unsigned>(t.Month)) / day(static_cast<unsigned>(t.Day)))
      .time_since_epoch()
      .count();
}

// Which save of its second a backup of `data_path` is: 1 for the plain name, N for "-N".
int AttemptOf(std::string_view name, std::string_view data_path) {
  const std::size_t stamp_end = Prefix(data_path).size() + 15;
  const std::size_t stem_end = name.size() - kExtension.size();
  return stem_end > stamp_end + 1 ? Digits(name.substr(stamp_end + 1, stem_end - stamp_end - 1)).value_or(1) : 1;
}

// The data file's backups in `folder`, newest first; of several saves in one second the
// later attempt is the newer (a listing gives "…-2" before the plain name).
std::vector<std::pair<std::string, LocalTime>> BackupNames(const std::string& folder, std::string_view data_path) {
  std::vector<std::tuple<std::string, LocalTime, int>> found;
  for (const std::string& name : FilesIn(folder))
    if (auto at = BackupTime(name, data_path)) found.emplace_back(name, *at, AttemptOf(name, data_path));
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return std::tuple_cat(Order(std::get<1>(a)), std::tie(std::get<2>(a))) >
           std::tuple_cat(Order(std::get<1>(b)), std::tie(std::get<2>(b)));
  });
  std::vector<std::pair<std::string, LocalTime>> names;
  for (auto& [name, at, attempt] : found) names.emplace_back(std::move(name), at);
  return names;
}

}  // namespace

std::string BackupFileName(std::string_view data_path, const LocalTime& at, int attempt) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", at.Year, at.Month, at.Day, at.Hour, at.Minute,
                at.Second);
  std::string name = Prefix(data_path) + stamp;
  if (attempt > 1) name += "-" + std::to_string(attempt);
  return name + std::string(kExtension);
}

std::optional<LocalTime> BackupTime(std::string_view name, std::string_view data_path) {
  const std::string prefix = Prefix(data_path);
  if (name.size() < prefix.size() + 15 + kExtension.size()) return std::nullopt;
  if (FoldKey(name.substr(0, prefix.size())) != FoldKey(prefix)) return std::nullopt;
  if (FoldKey(name.substr(name.size() - kExtension.size())) != FoldKey(kExtension)) return std::nullopt;
  std::string_view rest = name.substr(prefix.size(), name.size() - prefix.size() - kExtension.size());
  if (rest.size() < 15 || rest[8] != '-') return std::nullopt;
  auto part = [&rest](std::size_t at, std::size_t n) { return Digits(rest.substr(at, n)); };
  const auto y = part(0, 4), mo = part(4, 2), d = part(6, 2), h = part(9, 2), mi = part(11, 2), s = part(13, 2);
  if (!y || !mo || !d || !h || !mi || !s || *mo < 1 || *mo > 12 || *d < 1 || *d > 31 || *h > 23 || *mi > 59 ||
      *s > 59)
    return std::nullopt;
  rest.remove_prefix(15);
  if (!rest.empty() && (rest[0] != '-' || !Digits(rest.substr(1)))) return std::nullopt;
  return LocalTime{*y, *mo, *d, *h, *mi, *s};
}

std::vector<std::string> BackupsToPrune(const std::vector<BackupName>& backups, const LocalTime& now) {
  std::vector<std::size_t> newest_first(backups.size());
  for (std::size_t i = 0; i < backups.size(); ++i) newest_first[i] = i;
  std::stable_sort(newest_first.begin(), newest_first.end(), [&backups](std::size_t a, std::size_t b) {
    return Order(backups[a].At) > Order(backups[b].At);
  });
  const std::int64_t today = DayNumber(now);
  std::vector<bool> keep(backups.size(), false);
  std::set<std::int64_t> days_kept;
  for (std::size_t rank = 0; rank < newest_first.size(); ++rank) {
    const std::size_t i = newest_first[rank];
    const std::int64_t day = std::min(DayNumber(backups[i].At), today);
    const bool recent_day = today - day < kBackupsKeptDays && days_kept.insert(day).second;
    keep[i] = rank < static_cast<std::size_t>(kBackupsKeptLatest) || recent_day;
  }
  std::vector<std::string> prune;
  for (std::size_t i = 0; i < backups.size(); ++i)
    if (!keep[i]) prune.push_back(backups[i].Name);
  return prune;
}

std::string sfBackupBeforeSave(const std::string& folder, const std::string& data_path, const LocalTime& now) {
  if (!FileExists(data_path)) return {};
  std::string bytes;
  if (SystemError error = ReadWholeFile(data_path, bytes)) return sfSemCreate(kBackup, error.number, error.description);
  // The series companion goes beside the data file's copy, under the copy's name and its
  // extension: a backup restores both halves together.
  std::optional<std::string> series;
  if (std::string text; !ReadWholeFile(data_path + kSeriesFileExtension, text)) series = std::move(text);
  auto existing = BackupNames(folder, data_path);
  const auto companion_of = [&folder](const std::string& name) { return FileInFolder(folder, name) + kSeriesFileExtension; };
  std::string newest, newest_series;
  const bool same_as_newest =
      !existing.empty() && !ReadWholeFile(FileInFolder(folder, existing.front().first), newest) && newest == bytes &&
      (series ? !ReadWholeFile(companion_of(existing.front().first), newest_series) && newest_series == *series
              : !FileExists(companion_of(existing.front().first)));
  if (!same_as_newest) {
    if (SystemError error = CreateFolders(folder)) return sfSemCreate(kBackup, error.number, error.description);
    SystemError error;
    for (int attempt = 1; attempt <= kMostAttempts; ++attempt) {
      const std::string name = BackupFileName(data_path, now, attempt);
      // A companion left from an earlier backup of that name would be taken for this one's.
      if (FileExists(companion_of(name))) continue;
      error = WriteNewFile(FileInFolder(folder, name), bytes);
      if (!error) {
        existing.insert(existing.begin(), {name, now});
        if (series) error = WriteNewFile(companion_of(name), *series);
        break;
      }
      if (!AlreadyExists(error)) break;
    }
    if (error) return sfSemCreate(kBackup, error.number, error.description);
  }
  std::vector<BackupName> names;
  for (const auto& [name, at] : existing) names.push_back({name, at});
  for (const std::string& name : BackupsToPrune(names, now)) {
    RemoveFile(FileInFolder(folder, name));
    RemoveFile(companion_of(name));
  }
  return {};
}

std::int64_t CountEntries(const YearDatas& years) {
  std::int64_t n = 0;
  for (const auto& year : years)
    for (const auto& month : year.MonthDatas)
      for (const auto& day : month.DayDatas) n += day.PaymentDatas.Count() + day.SpecialDatas.Count();
  return n;
}

std::vector<BackupInfo> ListBackups(const std::string& folder, std::string_view data_path) {
  std::vector<BackupInfo> list;
  for (const auto& [name, at] : BackupNames(folder, data_path)) {
    BackupInfo info;
    info.Path = FileInFolder(folder, name);
    info.At = at;
    std::string bytes;
    if (ReadWholeFile(info.Path, bytes)) continue;  // gone or held: not offered
    info.Size = static_cast<std::int64_t>(bytes.size());
    YearDatas years;
    DefaultUserListArray lists;
    info.Entries = ParseUserData(bytes, years, lists).empty() ? CountEntries(years) : -1;
    list.push_back(std::move(info));
  }
  return list;
}

std::string DescribeBackup(const BackupInfo& backup) {
  char when[32];
  std::snprintf(when, sizeof when, "%04d/%02d/%02d %02d:%02d:%02d", backup.At.Year, backup.At.Month, backup.At.Day,
                backup.At.Hour, backup.At.Minute, backup.At.Second);
  std::string text = std::string(when) + "   " + GroupedAmount((backup.Size + 1023) / 1024) + " KB   ";
  text += backup.Entries < 0 ? std::string("読み込めません") : GroupedAmount(backup.Entries) + " 件";
  return text;
}

}  // namespace orv
