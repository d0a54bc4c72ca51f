#pragma once
// Using another data file while the program runs: the tray's "データファイルを開く..." and
// "新しいデータファイル...". The current file is saved first (a switch that cannot save it
// stops there, its edits still in memory and journal). The file is chosen with the first-run
// dialog's rules (its title and filter; the folder must exist, the file need not): a file
// that exists is loaded, and one that does not load changes nothing; a name with no file
// starts an empty schedule that the first save creates. A new file must not be one that
// exists already, unless the user agrees to open that one instead.
#include <optional>
#include <string>

#include "core/app_state.hpp"

namespace orv {

enum class DataFileCommand { kOpen, kNew };

inline constexpr char kOpenDataFileCaption[] = "データファイルを開く...";
inline constexpr char kNewDataFileCaption[] = "新しいデータファイル...";
inline constexpr char kDataFileSwitchTitle[] = "ユーザーデータファイル";
// A new file named after one that exists.
std::string ExistingFileQuestion(const std::string& path);

class DataFileSwitchPorts {
public:
  virtual ~DataFileSwitchPorts() = default;
  // Saves the current file through the keeper; the error text, empty on success.
  virtual std::string SaveCurrent() = 0;
  virtual void ShowSaveError() = 0;
  // The open-file dialog (title, filter, folder must exist; `must_exist` for the file); the
  // chosen path or nullopt when cancelled.
  virtual std::optional<std::string> ChooseFile(bool must_exist) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Yes/No; true for Yes.
  virtual bool Ask(const std::string& text) = 0;
  virtual std::string Load(const std::string& path, YearDatas& years, DefaultUserListArray& lists) = 0;
  // The error message box with the load failure text.
  virtual void ShowLoadFailure(const std::string& message) = 0;
  // The new file is the one in use: stored in the settings, kept by the keeper (watched,
  // journalled), its recovery files offered, the calendar drawn.
  virtual void Switched(bool loaded) = 0;
};

// Returns true when another data file is in use afterwards.
bool SwitchDataFile(AppState& state, DataFileCommand command, DataFileSwitchPorts& ports);

}  // namespace orv
