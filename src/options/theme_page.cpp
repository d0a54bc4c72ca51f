#include "options/theme_page.hpp"

#include "core/safe.hpp"
#include "core/settings.hpp"
#include "core/version.hpp"
#include "platform/ini_file.hpp"

namespace orv {

ThemeHead ReadThemeHead(const std::string& path) {
  // One parse of the file for all five values.
  IniFile ini = IniFile::Load(path);
  return {ini.Get("Head", "Title", "（無題）"), ini.Get("Head", "Comment", "（コメントがありません）"),
          ini.Get("Head", "Copyright", ""), ini.Get("Head", "SamplePicture", ""),
          ini.Get("Head", "CanReadVersion", "")};
}

std::string ParentFolderOf(const std::string& path) {
  auto cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return "";
  return path.substr(0, cut + 1);
}

std::string ThemeVersionMessage() {
  return "このファイルは " + std::string(kProgramTitle) + " Verstion." + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision) +
         " で使用する事が出来ません！\r\n"
         "ソフトをアップグレードするか、このバージョンで使用できるテーマファイルを選択してください";
}

void ThemePage::ThemeListRefresh() {
  titles_.assign(1, kBuiltInThemeTitle);
  theme_keys_.clear();
  int in_use = 0;
  for (const CDrawLoad& theme : state_.ThemeList) {
    titles_.push_back(ReadThemeHead(theme.IniFilePath).Title);
    theme_keys_.push_back(theme.Key);
    if (theme.Key == state_.SelectedThemeKey) in_use = static_cast<int>(theme_keys_.size());
  }
  Choose(in_use);
}

void ThemePage::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(titles_.size())) index = 0;
  chosen_ = index;
  sample_.reset();
  sample_path_.clear();
  const CDrawLoad* theme = index > 0 ? state_.ThemeList.Find(theme_keys_[static_cast<std::size_t>(index - 1)])
                                     : nullptr;
  if (theme) {
    ThemeHead head = ReadThemeHead(theme->IniFilePath);
    sample_is_built_in_ = false;
    if (!head.SamplePicture.empty()) {
      // A missing or unreadable sample just leaves the picture empty.
      sample_path_ = ParentFolderOf(theme->IniFilePath) + head.SamplePicture;
      sample_ = pictures_.Load(sample_path_).picture;
    }
    comment_ = head.Comment;
    copyright_ = head.Copyright;
    delete_enabled_ = true;
  } else {
    sample_is_built_in_ = true;
    comment_ = kBuiltInThemeComment;
    copyright_ = kBuiltInThemeCopyright;
    delete_enabled_ = false;
  }
  apply_enabled_ = true;
}

std::string ThemePage::ChosenKey() const {
  if (chosen_ <= 0 || chosen_ > static_cast<int>(theme_keys_.size())) return "";
  return theme_keys_[static_cast<std::size_t>(chosen_ - 1)];
}

void ThemePage::AddTheme() {
  OpenFileRequest request;
  request.filter = kThemeFileFilter;
  request.initial_folder = JoinPath(program_folder_, "Theme\\");
  request.must_exist = true;
  auto path = prompts_.OpenFile(request);
  if (!path) return;

  // Exact text comparison: the same file written in another letter case counts as new.
  for (const CDrawLoad& theme : state_.ThemeList) {
    if (theme.IniFilePath == *path) {
      prompts_.Message(MessageIcon::Information, MessageButtons::Ok, "追加済みの確認",
                       "このファイルは既に一覧に追加されています");
      return;
    }
  }
  const std::string version = ReadIniString(*path, "Head", "CanReadVersion", "");
  if (SafeInteger(version) >= 2) {
    prompts_.Message(MessageIcon::Critical, MessageButtons::Ok, "使用不可能なファイルバージョン",
                     ThemeVersionMessage());
    return;
  }
  if (version != "1") {
    prompts_.Message(MessageIcon::Critical, MessageButtons::Ok, "ファイルが読み込めませんでした",
                     "このファイルはカレンダーテーマ定義ファイルではないか、あるいは未完成・破損しています！\r\n"
                     "ファイルが完成したテーマ定義ファイルであると確認されている場合は、"
                     "このファイルを再インストールしてみてください");
    return;
  }
  if (CDrawLoad* theme = state_.ThemeList.Add(NextThemeKey(state_.ThemeList))) theme->IniFilePath = *path;
  ThemeListRefresh();
}

void ThemePage::DeleteTheme() {
  const std::string key = ChosenKey();
  if (key.empty()) return;
  if (key == state_.SelectedThemeKey) {
    prompts_.Message(MessageIcon::Warning, MessageButtons::Ok, "表示中のテーマを削除する事は出来ません",
                     "削除しようとしているテーマは現在表示されているテーマです\r\n"
                     "このテーマを削除するには、他のカレンダーテーマを選択し、適用してから削除ボタンを押してください");
    return;
  }
  auto answer = prompts_.Message(MessageIcon::Question, MessageButtons::OkCancel, "削除の確認",
                                 "このテーマを一覧から削除します。\r\n"
                                 "削除されたテーマは、追加ボタンを押してファイルを選択し、もう一度追加することが出来ます。\r\n"
                                 "本当に削除しますか？");
  if (answer == MessageAnswer::Cancel) return;
  state_.ThemeList.Remove(key);
  ThemeListRefresh();
}

}  // namespace orv

namespace orv {

void ThemePage::CopySample(const std::function<void()>& copy) {
  try {
    copy();
  } catch (...) {
    // Harmless: the message below is shown whatever happened.
  }
  prompts_.Message(MessageIcon::Information, MessageButtons::Ok, "サンプル画像の取り込み・確認",
                   "現在表示されているカレンダーを、クリップボードにコピーしました。\r\n"
                   "他のソフトウェアに張り付けて、使用してください");
}

}  // namespace orv
