#include "schedule/schedule_keeper.hpp"

#include <utility>

#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"
#include "series/series.hpp"

namespace orv {
namespace {

std::string ImageOf(const YearDatas& years, const DefaultUserListArray& lists) {
  std::string bytes;
  if (!SerializeUserData(years, lists, bytes).empty()) return {};
  return bytes;
}

const std::string& EmptyImage() {
  static const std::string image = ImageOf({}, {});
  return image;
}

}  // namespace

std::string SeriesFileDamagedText(const std::string& path, const std::string& aside) {
  std::string text = "繰り返しの予定のファイルを読み込めませんでした:\r\n" + path +
                     "\r\n\r\n繰り返しの予定は、ふつうの予定としてすべて残っています。"
                     "繰り返しとしての管理（まとめての削除、先の予定の自動追加）はできなくなります。\r\n\r\n";
  if (!aside.empty()) return text + "読み込めなかったファイルは、次の名前で残しました:\r\n" + aside;
  return text + "読み込めなかったファイルはそのまま残しています。次に保存するときに、その内容をバックアップに残してから書き直します。";
}

std::string SetAsidePath(const std::string& path, int attempt) {
  return path + ".damaged" + (attempt > 1 ? "-" + std::to_string(attempt) : std::string());
}

std::string ScheduleKeeper::Image() const { return ImageOf(state_.Years, state_.DefaultUserLists); }

std::optional<std::string> ScheduleKeeper::SeriesToWrite() const {
  // A data file that never had series gets no companion.
  if (state_.Series == SeriesBook{} && !disk_series_) return std::nullopt;
  return WriteSeriesText(state_.Series);
}

bool ScheduleKeeper::Unsaved() const { return Image() != base_image_ || state_.Series != base_book_; }

void ScheduleKeeper::Loaded(bool loaded) {
  disk_known_ = false;
  disk_bytes_.clear();
  if (loaded) {
    const DataFileRead read = ports_.ReadDataFile(state_.UserDataPath);
    disk_known_ = read.status == DataFileRead::kRead;
    disk_bytes_ = read.bytes;
  }
  disk_stamp_ = ports_.Stamp(state_.UserDataPath);
  base_image_ = loaded ? Image() : EmptyImage();
  LoadSeriesFile();
  journal_image_.clear();
  journal_book_ = {};
  journal_path_.clear();
}

void ScheduleKeeper::LoadSeriesFile() {
  state_.Series = {};
  base_book_ = {};
  disk_series_.reset();
  disk_series_stamp_.reset();
  if (state_.UserDataPath.empty()) return;
  const std::string path = SeriesFilePath(state_.UserDataPath);
  disk_series_stamp_ = ports_.Stamp(path);
  DataFileRead read = ports_.ReadDataFile(path);
  if (read.status == DataFileRead::kMissing) return;
  if (read.status == DataFileRead::kUnreadable) {
    // Held by someone right now: the next look reads it (the book stays empty until then, and
    // a save looks first, so it never goes over the file).
    disk_series_stamp_.reset();
    ports_.LookAgainSoon();
    return;
  }
  if (std::optional<SeriesBook> book = ReadSeriesText(read.bytes)) {
    state_.Series = std::move(*book);
    base_book_ = state_.Series;
    disk_series_ = std::move(read.bytes);
    return;
  }
  // Damaged: the entries stay as plain entries. The file goes aside so that it is neither
  // read again (and told again) at every start nor written over; where it cannot be moved,
  // it stays known as it is, and the next save keeps it in the backups before writing anew.
  std::string aside = ports_.SetAside(path);
  if (aside.empty())
    disk_series_ = std::move(read.bytes);
  else
    disk_series_stamp_ = ports_.Stamp(path);
  ports_.TellSeriesFileDamaged(SeriesFileDamagedText(path, aside));
}

void ScheduleKeeper::Replaced() { Edited(); }

void ScheduleKeeper::Edited() {
  Journal(false);
  ports_.Changed();
}

void ScheduleKeeper::Journal(bool again) {
  std::string image = Image();
  if (image.empty()) return;  // nothing the file format can hold; the dialogs refuse such input
  if (image == base_image_ && state_.Series == base_book_) {
    // Back to what the file holds (an entry added and deleted again): nothing to recover.
    if (!journal_path_.empty() || !journal_image_.empty()) ports_.RemoveJournal(state_.UserDataPath);
    journal_image_.clear();
    journal_book_ = {};
    journal_path_.clear();
    return;
  }
  if (image == journal_image_ && state_.Series == journal_book_ && !again) return;
  const std::string series = state_.Series == SeriesBook{} ? std::string() : WriteSeriesText(state_.Series);
  std::string path = ports_.WriteJournal(state_.UserDataPath, image, series);
  if (path.empty()) return;  // tried again with the next edit or save
  journal_path_ = std::move(path);
  journal_image_ = std::move(image);
  journal_book_ = state_.Series;
}

void ScheduleKeeper::AdoptFileVersion(std::string bytes, std::string image) {
  disk_bytes_ = std::move(bytes);
  disk_known_ = true;
  disk_stamp_ = ports_.Stamp(state_.UserDataPath);
  base_image_ = std::move(image);
}

void ScheduleKeeper::AdoptSeriesVersion(std::optional<std::string> bytes, SeriesBook book) {
  disk_series_ = std::move(bytes);
  disk_series_stamp_ = ports_.Stamp(SeriesFilePath(state_.UserDataPath));
  base_book_ = std::move(book);
}

ScheduleKeeper::Look ScheduleKeeper::LookAtFile() {
  const std::string& path = state_.UserDataPath;
  if (path.empty()) return Look::kUnchanged;
  const std::string series_path = SeriesFilePath(path);
  const std::optional<FileStamp> stamp = ports_.Stamp(path);
  const std::optional<FileStamp> series_stamp = ports_.Stamp(series_path);
  if (stamp == disk_stamp_ && series_stamp == disk_series_stamp_) return Look::kUnchanged;
  // Only the companion changed (a series added by another program): the file as known.
  DataFileRead read = stamp == disk_stamp_ && disk_known_ ? DataFileRead{DataFileRead::kRead, disk_bytes_}
                                                          : ports_.ReadDataFile(path);
  if (read.status == DataFileRead::kMissing) {
    // Deleted or moved away: memory keeps the schedule and the next save writes it again.
    disk_stamp_ = stamp;
    disk_known_ = false;
    disk_bytes_.clear();
    return Look::kGone;
  }
  unreadable_path_ = path;
  if (read.status == DataFileRead::kUnreadable) {
    ports_.LookAgainSoon();
    return Look::kUnreadable;
  }
  // The companion as it is now. Gone or damaged, it says nothing about the series: the
  // book last known stays the other side, and the next save writes the companion anew
  // (after keeping a damaged one in the backups).
  std::optional<std::string> series_bytes = disk_series_;
  SeriesBook their_book = base_book_;
  if (series_stamp != disk_series_stamp_) {
    DataFileRead series_read = ports_.ReadDataFile(series_path);
    if (series_read.status == DataFileRead::kUnreadable) {
      unreadable_path_ = series_path;
      ports_.LookAgainSoon();
      return Look::kUnreadable;
    }
    series_bytes.reset();
    if (series_read.status == DataFileRead::kRead) {
      if (std::optional<SeriesBook> book = ReadSeriesText(series_read.bytes)) their_book = std::move(*book);
      series_bytes = std::move(series_read.bytes);
    }
  }
  if (disk_known_ && read.bytes == disk_bytes_ && series_bytes == disk_series_) {
    disk_stamp_ = stamp;  // touched, not changed
    disk_series_stamp_ = series_stamp;
    return Look::kUnchanged;
  }
  YearDatas their_years;
  DefaultUserListArray their_lists;
  if (!ParseUserData(read.bytes, their_years, their_lists).empty()) {
    // Half written by a sync client, or not a schedule at all: never taken for an empty one.
    ports_.LookAgainSoon();
    return Look::kUnreadable;
  }
  std::string their_image = ImageOf(their_years, their_lists);
  if (!Unsaved()) {
    state_.Years = std::move(their_years);
    state_.DefaultUserLists = std::move(their_lists);
    state_.Series = their_book;
    AdoptFileVersion(std::move(read.bytes), std::move(their_image));
    AdoptSeriesVersion(std::move(series_bytes), std::move(their_book));
    ports_.Redraw();
    ports_.Changed();
    return Look::kReloaded;
  }
  YearDatas base_years;
  DefaultUserListArray base_lists;
  ParseUserData(base_image_, base_years, base_lists);
  MergeResult merge = MergeSchedules({base_years, base_lists}, {state_.Years, state_.DefaultUserLists},
                                     {their_years, their_lists});
  state_.Years = std::move(merge.Years);
  state_.DefaultUserLists = std::move(merge.Lists);
  state_.Series = MergeSeriesBooks(base_book_, state_.Series, their_book);
  AdoptFileVersion(std::move(read.bytes), std::move(their_image));
  AdoptSeriesVersion(std::move(series_bytes), std::move(their_book));
  Journal(false);  // the journal holds the merged schedule now
  ports_.Redraw();
  ports_.Changed();
  if (!merge.FromTheirs.Empty()) ports_.TellMerged(MergeMessageText(merge.FromTheirs, path));
  return Look::kMerged;
}

std::string ScheduleKeeper::Save() {
  const std::string& path = state_.UserDataPath;
  // Whatever someone else wrote since the last look comes into memory first.
  if (LookAtFile() == Look::kUnreadable) return kUnreadableBeforeSave;
  std::string image = Image();
  if (image.empty()) return sfSaveUserData(path, state_.Years, state_.DefaultUserLists);  // its own error text
  std::optional<std::string> series = SeriesToWrite();
  const bool write_data =
      !(disk_known_ && disk_stamp_ && image == disk_bytes_ && ports_.Stamp(path) == disk_stamp_);
  const bool write_series = series && series != disk_series_;
  if (!write_data && !write_series) {
    // The files hold exactly this already: nothing to write, nothing to recover.
    Journal(false);
    return {};
  }
  if (disk_known_ || disk_series_) ports_.KeepPreviousVersion(path);
  // The data file first: a companion never describes entries the data file does not have yet.
  if (write_data) {
    if (std::string error = ports_.ReplaceDataFile(path, image); !error.empty()) {
      Journal(true);  // the journal keeps the session's schedule, written again to be sure
      return error;
    }
    AdoptFileVersion(image, image);
  }
  if (write_series) {
    if (std::string error = ports_.ReplaceDataFile(SeriesFilePath(path), *series); !error.empty()) {
      Journal(true);
      return error;
    }
  }
  AdoptSeriesVersion(std::move(series), state_.Series);
  Journal(false);  // memory equals the files now: the journal goes
  return {};
}

}  // namespace orv
