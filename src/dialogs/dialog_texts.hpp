#pragma once
// The fixed texts of the schedule editing dialogs and their message boxes.
#include <array>

namespace orv::texts {

// Automatic saving after an edit.

// Day schedule list (frmUserDataList).
inline constexpr char kDayListAddButton[] = "予定の追加(&A)";
inline constexpr char kDayListDeleteButton[] = "削除(&D)";
inline constexpr char kDayListCloseButton[] = "閉じる(&C)";
inline constexpr char kDayListMenuCaption[] = "ポップアップメニュー";
inline constexpr char kDayListNextKindItem[] = "予定表示の内容を変更(&N)";
inline constexpr char kPaymentsWord[] = "支払い";
inline constexpr char kSpecialDaysWord[] = "特別な日";
inline constexpr char kAutomaticTransferSuffix[] = " (自動振替)";
inline constexpr char kCashSuffix[] = " (現金)";
inline constexpr char kNothingCheckedTitle[] = "予定の削除について";
inline constexpr char kNothingCheckedText[] = "予定一覧のチェックをつけた項目を削除することが出来ます。";
inline constexpr char kConfirmDeleteTitle[] = "削除の確認";
inline constexpr char kConfirmEntriesText[] =
    "チェックがつけられた項目を削除します。\r\n本当に削除しますか？";

// Add-entry dialog (frmDataAddDialog) and input dialog (frmInputDialog), by entry kind.
struct KindTexts {
  const char* list_comment;    // the item comment in the add list
  const char* input_word;      // the prompt's kind word
  const char* catch_all;       // caption of the item for a name not among the presets
  const char* field_captions[2];
};
inline constexpr std::array<KindTexts, 4> kKinds{{
    {"自動振替", "自動振替支払い", "一覧にない自動振替支払い", {"支払いの名称(&N):", "金額(&P):"}},
    {"現金払い・振り込み等", "現金支払い", "一覧にない現金支払い", {"支払いの名称(&N):", "金額(&P):"}},
    {"特に特別な日", "特に特別な日", "一覧にない特に特別な日", {"タイトル(&T):", "コメント(&O):"}},
    {"特別な日", "特別な日", "一覧にない特別な日", {"タイトル(&T):", "コメント(&O):"}},
}};
// What screen readers call the add-entry dialog's list (it has no label on the screen).
inline constexpr char kAddListName[] = "追加の一覧";
inline constexpr char kOkButton[] = "OK";
inline constexpr char kCancelButton[] = "キャンセル";
inline constexpr char kInputPromptTail[] = "の内容を入力してください";
inline constexpr char kInvalidInputTitle[] = "値の入力について";
inline constexpr char kInvalidInputText[] =
    "値が正しく入力されていません\r\n"
    "金額の入力フォーマットなど、予定に対応した正しいフォーマットで入力してください";
inline constexpr char kTotalOverflowText[] =
    "この日の支払いの合計金額が扱える範囲(-2,147,483,648～2,147,483,647)を超えるため、"
    "追加できません";

// Repeating entries: the input dialog's button, the series dialog and the day list's mark.
inline constexpr char kRepeatButton[] = "繰り返し(&R)";
inline constexpr char kRepeatNone[] = "なし";
inline constexpr char kSeriesCaption[] = "繰り返しの設定";
inline constexpr char kSeriesEveryLabel[] = "間隔(&E):";
inline constexpr char kSeriesMonthDayLabel[] = "月の日付(&D):";
inline constexpr std::array<const char*, 2> kSeriesMonthDays{"開始日と同じ日", "月末"};
inline constexpr char kSeriesEndLabel[] = "終わり(&N):";
inline constexpr std::array<const char*, 3> kSeriesEnds{"なし", "回数で終わる", "日付で終わる"};
inline constexpr char kSeriesCountLabel[] = "回数(&C):";
inline constexpr char kSeriesTimes[] = "回";
inline constexpr char kSeriesUntilLabel[] = "この日まで(&U):";
inline constexpr char kSeriesShiftLabel[] = "休業日の場合(&H):";
inline constexpr std::array<const char*, 3> kSeriesShifts{"そのまま", "前の営業日", "翌営業日"};
inline constexpr char kSeriesPreviewLabel[] = "予定日(&V):";
inline constexpr char kSeriesClearButton[] = "繰り返さない(&X)";
inline constexpr char kSeriesEveryInvalid[] = "間隔は1から99までの数で入力してください";
inline constexpr char kSeriesCountInvalid[] = "回数は1以上の数で入力してください";
inline constexpr char kSeriesUntilInvalid[] = "終わりの日付を「2027/3/31」のように入力してください";
// The day list marks an entry of a series with how often it comes (SeriesFrequencyText, in
// front, where a long row's cut-off end cannot hide it). Then the question of its deletion.
inline constexpr char kSeriesDeleteInstruction[] = "繰り返しの予定を削除します";
inline constexpr char kSeriesDeleteOneText[] = "は繰り返しの予定の1回です。どこまで削除しますか？";
inline constexpr char kSeriesDeleteManyText[] =
    "チェックをつけた項目には繰り返しの予定が含まれています。どこまで削除しますか？"
    "（チェックをつけたほかの予定はそのまま削除されます）";
inline constexpr std::array<const char*, 3> kSeriesDeleteScopes{
    "この予定だけ(&O)", "この予定と以降の予定(&L)", "繰り返しのすべての予定(&A)"};

// Bulk deletion of years (frmYearDatasDialog).
inline constexpr char kYearsCaption[] = "予定の一括削除";
inline constexpr char kYearsLabel1[] = "不要になった過去の予定データなどを一括削除することが出来ます";
inline constexpr char kYearsLabel2[] = "チェックをつけた年のデータを全て削除します";
inline constexpr char kYearSuffix[] = "年";
inline constexpr char kNoYearCheckedTitle[] = "予定の一括削除について";
inline constexpr char kNoYearCheckedText[] = "チェックをつけた年の予定を削除する事が出来ます";
inline constexpr char kConfirmYearsText[] = "本当に削除しますか？";

}  // namespace orv::texts
