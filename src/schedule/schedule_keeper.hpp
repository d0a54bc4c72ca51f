#pragma once
// Keeps the user's schedule safe while the program runs, whatever happens to the program or
// to the data file:
// - every edit is written at once to a journal outside the user's folder, which goes away as
//   soon as the data file holds the same schedule (a crash leaves it for the next start);
// - the data file is watched: a change made by someone else (orvtool, a sync client, another
//   PC) is loaded when nothing is unsaved, merged with the unsaved edits otherwise, and looked
//   for again right before every save, so a save never writes over it;
// - a file that cannot be read now (locked, half written) is looked at again later, never
//   taken for an empty one.
// The series companion file beside the data file (the rules of repeating entries) travels
// with it: it is part of what memory is compared with, journalled, merged and saved. A
// companion that is missing gives an empty book; one that does not read is set aside under
// another name and told once, its entries staying as plain entries.
// The file system and the messages come through ports; the rules live here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.hpp"

namespace orv {

// What a quick look at a file tells without reading it.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t time = 0;
  bool operator==(const FileStamp&) const = default;
};

// The data file as read now.
struct DataFileRead {
  enum Status { kRead, kMissing, kUnreadable } status = kMissing;
  std::string bytes;
};

class KeeperPorts {
public:
  virtual ~KeeperPorts() = default;
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
  virtual DataFileRead ReadDataFile(const std::string& path) = 0;
  // Keeps the version about to be replaced (a backup); failures do not stop the save.
  virtual void KeepPreviousVersion(const std::string& path) = 0;
  // Replaces the file, trying again for a moment while another program holds it; the error
  // text, empty on success.
  virtual std::string ReplaceDataFile(const std::string& path, std::string_view bytes) = 0;
  // The journal of the data file: written atomically and flushed, with the series text in a
  // companion beside it (none when `series` is empty); the path written, or empty.
  virtual std::string WriteJournal(const std::string& data_path, std::string_view bytes, std::string_view series) = 0;
  virtual void RemoveJournal(const std::string& data_path) = 0;
  // One message (title kMergeMessageTitle): what came from outside and was merged into the
  // unsaved edits.
  virtual void TellMerged(const std::string& text) = 0;
  virtual void Redraw() = 0;
  // The schedule in memory changed: an edit, or a change from outside loaded or merged in
  // (never a save, which changes the file only). Whatever follows the schedule (reminders of
  // what is due) looks again.
  virtual void Changed() = 0;
  // The file could not be read just now: look again a little later.
  virtual void LookAgainSoon() = 0;
  // Renames a damaged file aside, beside itself, under a name no file has; the new path, or
  // empty when it could not be moved.
  virtual std::string SetAside(const std::string& path) = 0;
  // One warning (title kSeriesFileDamagedTitle).
  virtual void TellSeriesFileDamaged(const std::string& text) = 0;
};

// What the user is told about a series companion file that does not read: the file, that the
// entries stay as plain entries, and where the file went (`aside`; empty: left where it is,
// backed up before the next save writes it anew).
inline constexpr char kSeriesFileDamagedTitle[] = "繰り返しの予定";
std::string SeriesFileDamagedText(const std::string& path, const std::string& aside);
// The name a damaged companion is set aside under: "<path>.damaged", then "<path>.damaged-2", ….
std::string SetAsidePath(const std::string& path, int attempt);

class ScheduleKeeper : public ScheduleGuard {
public:
  ScheduleKeeper(AppState& state, KeeperPorts& ports) : state_(state), ports_(ports) {}

  // The schedule in memory was just loaded from the data file (`loaded`: false when the file
  // did not exist and the schedule starts empty). Reads the series companion into the state.
  void Loaded(bool loaded);
  // The schedule in memory is another one than the file's (restored from a journal): the
  // file's version stays the base, memory counts as unsaved.
  void Replaced();

  // ScheduleGuard
  void Edited() override;
  std::string Save() override;

  enum class Look { kUnchanged, kReloaded, kMerged, kUnreadable, kGone };
  // Something in the data file's folder changed (or a look is due): follows the file.
  Look LookAtFile();

  // Whether memory holds edits the data file does not.
  bool Unsaved() const;
  // The file the last look could not read: the data file or its series companion.
  const std::string& UnreadablePath() const { return unreadable_path_; }
  // The journal written last; empty when none is pending.
  const std::string& JournalPath() const { return journal_path_; }
  // The error text of a save refused because the file could not be read first.
  static constexpr const char* kUnreadableBeforeSave = "ScheduleKeeper.Save\t0\tThe data file cannot be read now\n";

private:
  std::string Image() const;
  // The companion's text for the book in memory; nothing when there is nothing to write (no
  // series and no companion on disk).
  std::optional<std::string> SeriesToWrite() const;
  void LoadSeriesFile();
  // Writes the journal when memory differs from the file (`again`: even when it holds this
  // already), removes it when not.
  void Journal(bool again);
  void AdoptFileVersion(std::string bytes, std::string image);
  void AdoptSeriesVersion(std::optional<std::string> bytes, SeriesBook book);

  AppState& state_;
  KeeperPorts& ports_;
  // The data file as last loaded or saved: its raw bytes and stamp, and the schedule it held
  // in the form memory is compared with (the base of a merge).
  std::string disk_bytes_;
  std::optional<FileStamp> disk_stamp_;
  bool disk_known_ = false;  // false: no file was there
  std::string base_image_;
  // The companion as last loaded or saved: its raw bytes (none: no file), its stamp, and the
  // book it held (the base of a book merge).
  std::optional<std::string> disk_series_;
  std::optional<FileStamp> disk_series_stamp_;
  SeriesBook base_book_;
  std::string journal_image_;  // what the journal holds; empty when none is written
  SeriesBook journal_book_;
  std::string journal_path_;
  std::string unreadable_path_;
};

}  // namespace orv
