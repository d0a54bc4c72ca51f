#include "schedule/unreadable_looks.hpp"

#include "schedule/file_identity.hpp"

namespace orv {

std::string UnreadableDataFileText(std::string_view path) {
  return "ユーザーデータファイル " + std::string(path) +
         " を読み込めません。\r\n"
         "同期ソフトなど別のプログラムが使用中か、書き込みの途中か、破損している可能性があります。\r\n\r\n"
         "編集した予定は、そのつど復旧用ファイルにも保存しているので失われません。"
         "このファイルは引き続き確認し、読み込めるようになれば自動的に取り込みます。\r\n\r\n"
         "しばらくしても変わらない場合は、このファイルを使っているプログラムを終了してください。"
         "ファイルが破損している場合は、通知領域のアイコンのメニューの「バックアップから復元...」を使ってください。";
}

int UnreadableWindowMs() {
  int total = 0;
  for (int attempt = 0; attempt < kChangeRetryAttempts; ++attempt) total += ChangeRetryDelayMs(attempt);
  return total;
}

UnreadableLooks::Next UnreadableLooks::Failed(std::int64_t now_ms) {
  if (failures_ == 0) first_ms_ = now_ms;
  const int attempt = failures_;
  if (failures_ < kChangeRetryAttempts) ++failures_;
  if (now_ms - first_ms_ < UnreadableWindowMs()) return {ChangeRetryDelayMs(attempt), false};
  const bool tell = !told_;
  told_ = true;
  return {kSlowLookMs, tell};
}

}  // namespace orv
