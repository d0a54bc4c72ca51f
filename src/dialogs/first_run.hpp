#pragma once
// Texts and rules of the first-run and version dialogs.
#include <string>

#include "core/version.hpp"

namespace orv {

inline std::string VersionText() {
  return "Version. " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

inline constexpr char kFirstRunMessage[] =
    "Orvanta をご利用ありがとうございます！\r\nはじめにあなたのカレンダーを保存するユーザーデータファイルを指定してください";
inline constexpr char kFileDialogTitle[] = "ファイルを開く / ファイル名をつけて保存";
// The filter as the user sees it: two entries, user data files and all files.
inline constexpr char kFileDialogFilter[] = "ユーザーデータファイル(*.ORV)|*.orv|全てのファイル(*.*)|*.*";

}  // namespace orv
