#include "app/data_file_switch.hpp"

#include <utility>

#include "app/startup.hpp"

namespace orv {

std::string ExistingFileQuestion(const std::string& path) {
  return "次のファイルは既にあります:\r\n" + path + "\r\n\r\nこのファイルを開きますか？";
}

bool SwitchDataFile(AppState& state, DataFileCommand command, DataFileSwitchPorts& ports) {
  if (!state.UserDataPath.empty() && !ports.SaveCurrent().empty()) {
    ports.ShowSaveError();
    return false;
  }
  const std::optional<std::string> chosen = ports.ChooseFile(command == DataFileCommand::kOpen);
  if (!chosen || chosen->empty()) return false;
  const bool exists = ports.FileExists(*chosen);
  if (command == DataFileCommand::kNew && exists && !ports.Ask(ExistingFileQuestion(*chosen))) return false;
  YearDatas years;
  DefaultUserListArray lists;
  if (exists && !ports.Load(*chosen, years, lists).empty()) {
    ports.ShowLoadFailure(LoadFailureMessage(*chosen));
    return false;
  }
  state.UserDataPath = *chosen;
  state.Years = std::move(years);
  state.DefaultUserLists = std::move(lists);
  ports.Switched(exists);
  return true;
}

}  // namespace orv
