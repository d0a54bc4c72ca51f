#include "schedule/schedule_keeper.hpp"

#include <utility>

#include "schedule/schedule_merge.hpp"
#include "schedule/user_data_file.hpp"

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

std::string ScheduleKeeper::Image() const { return ImageOf(state_.Years, state_.DefaultUserLists); }

bool ScheduleKeeper::Unsaved() const { return Image() != base_image_; }

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
  journal_image_.clear();
  journal_path_.clear();
}

void ScheduleKeeper::Replaced() { Edited(); }

void ScheduleKeeper::Edited() { Journal(false); }

void ScheduleKeeper::Journal(bool again) {
  std::string image = Image();
  if (image.empty()) return;  // nothing the file format can hold; the dialogs refuse such input
  if (image == base_image_) {
    // Back to what the file holds (an entry added and deleted again): nothing to recover.
    if (!journal_path_.empty() || !journal_image_.empty()) ports_.RemoveJournal(state_.UserDataPath);
    journal_image_.clear();
    journal_path_.clear();
    return;
  }
  if (image == journal_image_ && !again) return;
  std::string path = ports_.WriteJournal(state_.UserDataPath, image);
  if (path.empty()) return;  // tried again with the next edit or save
  journal_path_ = std::move(path);
  journal_image_ = std::move(image);
}

void ScheduleKeeper::AdoptFileVersion(std::string bytes, std::string image) {
  disk_bytes_ = std::move(bytes);
  disk_known_ = true;
  disk_stamp_ = ports_.Stamp(state_.UserDataPath);
  base_image_ = std::move(image);
}

ScheduleKeeper::Look ScheduleKeeper::LookAtFile() {
  const std::string& path = state_.UserDataPath;
  if (path.empty()) return Look::kUnchanged;
  const std::optional<FileStamp> stamp = ports_.Stamp(path);
  if (stamp == disk_stamp_) return Look::kUnchanged;
  DataFileRead read = ports_.ReadDataFile(path);
  if (read.status == DataFileRead::kMissing) {
    // Deleted or moved away: memory keeps the schedule and the next save writes it again.
    disk_stamp_ = stamp;
    disk_known_ = false;
    disk_bytes_.clear();
    return Look::kGone;
  }
  if (read.status == DataFileRead::kUnreadable) {
    ports_.LookAgainSoon();
    return Look::kUnreadable;
  }
  if (disk_known_ && read.bytes == disk_bytes_) {
    disk_stamp_ = ports_.Stamp(path);  // touched, not changed
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
    AdoptFileVersion(std::move(read.bytes), std::move(their_image));
    ports_.Redraw();
    return Look::kReloaded;
  }
  YearDatas base_years;
  DefaultUserListArray base_lists;
  ParseUserData(base_image_, base_years, base_lists);
  MergeResult merge = MergeSchedules({base_years, base_lists}, {state_.Years, state_.DefaultUserLists},
                                     {their_years, their_lists});
  state_.Years = std::move(merge.Years);
  state_.DefaultUserLists = std::move(merge.Lists);
  AdoptFileVersion(std::move(read.bytes), std::move(their_image));
  Edited();  // the journal holds the merged schedule now
  ports_.Redraw();
  if (!merge.FromTheirs.Empty()) ports_.TellMerged(MergeMessageText(merge.FromTheirs, path));
  return Look::kMerged;
}

std::string ScheduleKeeper::Save() {
  const std::string& path = state_.UserDataPath;
  // Whatever someone else wrote since the last look comes into memory first.
  if (LookAtFile() == Look::kUnreadable) return kUnreadableBeforeSave;
  std::string image = Image();
  if (image.empty()) return sfSaveUserData(path, state_.Years, state_.DefaultUserLists);  // its own error text
  if (disk_known_ && disk_stamp_ && image == disk_bytes_ && ports_.Stamp(path) == disk_stamp_) {
    // The file holds exactly this already: nothing to write, nothing to recover.
    Edited();
    return {};
  }
  if (disk_known_) ports_.KeepPreviousVersion(path);
  if (std::string error = ports_.ReplaceDataFile(path, image); !error.empty()) {
    Journal(true);  // the journal keeps the session's schedule, written again to be sure
    return error;
  }
  AdoptFileVersion(image, image);
  Edited();  // memory equals the file now: the journal goes
  return {};
}

}  // namespace orv
