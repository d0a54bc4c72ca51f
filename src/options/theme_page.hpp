#pragma once
// The theme page of the options dialog: the installed themes with the built-in one first,
// the chosen theme's sample picture and texts from its "Head" section, and adding and
// removing themes. Adding and removing act on ThemeList at once; the choice itself takes
// effect only when the dialog applies.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app_state.hpp"
#include "platform/canvas.hpp"
#include "platform/picture_loader.hpp"
#include "platform/prompts.hpp"

namespace orv {

inline constexpr const char* kBuiltInThemeTitle = "シンプル （既定）";
inline constexpr const char* kBuiltInThemeComment =
    "Orvanta にはじめからインストールされている、背景に文字だけのシンプルなカレンダーです。";
inline constexpr const char* kBuiltInThemeCopyright = "Orvanta 標準テーマ";
inline constexpr const char* kThemeFileFilter =
    "カレンダーテーマ定義ファイル(*.INI)|*.INI|全てのファイル(*.*)|*.*";

// The "Head" section of a theme file with the page's defaults for missing values.
struct ThemeHead {
  std::string Title;
  std::string Comment;
  std::string Copyright;
  std::string SamplePicture;
  std::string CanReadVersion;
};
ThemeHead ReadThemeHead(const std::string& path);

// The folder of a file path with a trailing "\" ("" for a bare file name).
std::string ParentFolderOf(const std::string& path);

class ThemePage {
public:
  // `program_folder` is where the file dialog starts ("Theme\" under it). `apply_enabled` is
  // the dialog's Apply button state, which choosing an entry switches on.
  ThemePage(AppState& state, Prompts& prompts, PictureLoader& pictures, std::string program_folder,
            bool& apply_enabled)
      : state_(state), prompts_(prompts), pictures_(pictures),
        program_folder_(std::move(program_folder)), apply_enabled_(apply_enabled) {}

  // Rebuilds the titles and ThemeKeys and chooses the theme in use.
  void ThemeListRefresh();
  // Choosing entry `index` (0 the built-in theme) shows its sample and texts.
  void Choose(int index);
  void AddTheme();
  // Removes the chosen installed theme from the list, after the user confirms; the theme in
  // use is refused.
  void DeleteTheme();

  // Runs `copy` (putting the calendar picture on the clipboard) and tells the user it is
  // there; a failed copy is not reported differently.
  void CopySample(const std::function<void()>& copy);

  // The key Apply stores in SelectedThemeKey: empty for the built-in entry.
  std::string ChosenKey() const;

  const std::vector<std::string>& titles() const { return titles_; }
  int chosen() const { return chosen_; }
  // ThemeKeys[i - 1] is the key of list entry i.
  const std::vector<std::string>& ThemeKeys() const { return theme_keys_; }
  // The sample: the built-in theme's own picture, or the loaded picture (null when the theme
  // has none or it could not be loaded).
  bool sample_is_built_in() const { return sample_is_built_in_; }
  const std::shared_ptr<const Picture>& sample() const { return sample_; }
  const std::string& sample_path() const { return sample_path_; }
  const std::string& comment() const { return comment_; }
  const std::string& copyright() const { return copyright_; }
  bool delete_enabled() const { return delete_enabled_; }

private:
  AppState& state_;
  Prompts& prompts_;
  PictureLoader& pictures_;
  std::string program_folder_;
  bool& apply_enabled_;

  std::vector<std::string> titles_;
  std::vector<std::string> theme_keys_;
  int chosen_ = 0;
  bool sample_is_built_in_ = true;
  std::shared_ptr<const Picture> sample_;
  std::string sample_path_;
  std::string comment_;
  std::string copyright_;
  bool delete_enabled_ = false;
};

// The refusal shown for a theme file made for a later version of the program.
std::string ThemeVersionMessage();

}  // namespace orv
