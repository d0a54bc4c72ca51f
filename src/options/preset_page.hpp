#pragma once
// The preset lists page of the options dialog: the user picks a kind of entry, sees its
// preset names, adds one through the input box and removes the ticked ones. Every change
// acts on DefaultUserLists at once; neither Apply nor Cancel is involved.
#include <string>
#include <vector>

#include "core/app_state.hpp"
#include "platform/prompts.hpp"

namespace orv {

// The kinds in the order of the type list; the index is the index into DefaultUserLists.
inline constexpr const char* kPresetKindNames[4] = {"自動振替", "現金支払", "特に特別な日", "特別な日"};
// The add prompt's title, also that of its refusals.
inline constexpr char kAddPresetTitle[] = "一覧へ追加";

class PresetPage {
public:
  PresetPage(AppState& state, Prompts& prompts) : state_(state), prompts_(prompts) {}

  // Choosing a kind in the type list reloads the lines (and drops every tick).
  void ChooseKind(int kind);
  int kind() const { return kind_; }

  // Reloads `lines` and DUDKeys from the chosen kind's list.
  void RefreshDUDList();
  // Asks for a name; a non-empty answer is appended under the list's next key. A name the user
  // data file cannot hold is refused with the reason and asked for again, as typed.
  void AddPreset();
  // `ticked[i]` is the tick of line i. Nothing ticked only explains; otherwise, after the
  // user confirms, every ticked line's preset is removed by its key.
  void DeleteTickedPresets(const std::vector<bool>& ticked);

  const std::vector<std::string>& lines() const { return lines_; }
  // DUDKeys[i] is the key of the preset on line i (lines count from 0 here).
  const std::vector<std::string>& DUDKeys() const { return dud_keys_; }

private:
  bool KindValid() const { return kind_ >= 0 && kind_ < 4; }

  AppState& state_;
  Prompts& prompts_;
  int kind_ = 0;
  std::vector<std::string> lines_;
  std::vector<std::string> dud_keys_;
};

// The input box's prompt for a kind: kind + "データの" + field word + "を入力してください".
std::string PresetPrompt(int kind);

}  // namespace orv
