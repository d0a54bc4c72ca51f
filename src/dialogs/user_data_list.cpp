#include "dialogs/user_data_list.hpp"

#include <algorithm>

#include "dialogs/dialog_texts.hpp"
#include "dialogs/save_user_data.hpp"
#include "holidays/japanese_holidays.hpp"

namespace orv {
namespace {

const char* KindWord(std::int32_t calendar_mode) {
  switch (calendar_mode) {
    case kShowPayments: return texts::kPaymentsWord;
    case kShowSpecialDays: return texts::kSpecialDaysWord;
    default: return "";
  }
}

}  // namespace

std::string PaymentRowText(const PaymentData& payment, DesktopFacts& regional) {
  std::string text = payment.strTitle + " " + regional.FormatCurrency(payment.lngPrice);
  if (payment.Payment == 0) text += texts::kAutomaticTransferSuffix;
  if (payment.Payment == 1) text += texts::kCashSuffix;
  return text;
}

std::string SeriesRowMark(const SeriesBook& book, const std::optional<SeriesMatch>& match) {
  const Series* series = match ? book.Find(match->id) : nullptr;
  if (!series) return {};
  return SeriesFrequencyText(series->rule) + " ";
}

std::string SpecialRowText(const SpecialData& special) {
  return special.strSpecial + " " + special.strComment;
}

void UserDataListModel::SetEditDay(Date day) {
  EditDay_ = day;
  EditDayParts_ = SplitDate(day);
  dsRefreshUserDataList();
}

DayData* UserDataListModel::ShownDay() const { return FindDay(state_.Years, EditDayParts_); }

UserDataListModel::Listing UserDataListModel::BuildListing() const {
  Listing listing;
  const DayData* day = ShownDay();
  if (state_.CalendarMode == kShowPayments) {
    listing.first_icon = kIconAutomaticTransfer;
    if (day)
      for (const auto& payment : day->PaymentDatas) {
        listing.series.push_back(SeriesOfPayment(state_.Series, EditDay_, payment));
        listing.rows.push_back(SeriesRowMark(state_.Series, listing.series.back()) + PaymentRowText(payment, regional_));
        listing.icons.push_back(payment.Payment == 1 ? kIconCash : kIconAutomaticTransfer);
      }
  } else if (state_.CalendarMode == kShowSpecialDays) {
    listing.first_icon = kIconVerySpecial;
    if (day)
      for (const auto& special : day->SpecialDatas) {
        listing.series.push_back(SeriesOfSpecial(state_.Series, EditDay_, special));
        listing.rows.push_back(SeriesRowMark(state_.Series, listing.series.back()) + SpecialRowText(special));
        listing.icons.push_back(special.blnSpecial ? kIconVerySpecial : kIconSpecial);
      }
  }
  if (!listing.icons.empty()) listing.first_icon = listing.icons.front();
  return listing;
}

void UserDataListModel::dsRefreshUserDataList() {
  Listing listing = BuildListing();
  rows_ = std::move(listing.rows);
  IconIndexes_ = std::move(listing.icons);
  row_series_ = std::move(listing.series);
  shown_icon_ = listing.first_icon;
  const std::string kind = KindWord(state_.CalendarMode);
  caption_ = std::to_string(EditDayParts_.Month) + "月" + std::to_string(EditDayParts_.Day) + "日";
  if (state_.ShowHolidays)
    if (const std::string_view holiday = HolidayName(EditDay_); !holiday.empty())
      caption_ += " (" + std::string(holiday) + ")";
  caption_ += " - " + kind + "予定の確認";
  message_ = kind + "予定の一覧です";
}

bool UserDataListModel::Stale() const {
  const Listing now = BuildListing();
  // The rows' texts carry the series mark, so a series that changed shows here as well.
  return now.rows != rows_ || now.icons != IconIndexes_;
}

bool UserDataListModel::RefreshIfStale() {
  if (!Stale()) return false;
  dsRefreshUserDataList();
  return true;
}

void UserDataListModel::OnRowSelected(int row) {
  if (row >= 0 && static_cast<std::size_t>(row) < IconIndexes_.size())
    shown_icon_ = IconIndexes_[static_cast<std::size_t>(row)];
}

void UserDataListModel::OnNextKind() {
  CycleCalendarMode(state_);
  calendar_.dsDrawCalendar();
  dsRefreshUserDataList();
}

void UserDataListModel::AfterAddEntry() {
  dsRefreshUserDataList();
  calendar_.dsDrawCalendar();
}

std::optional<SeriesDeleteScope> UserDataListModel::AskSeriesScope(const std::vector<std::size_t>& series_rows) {
  ChoiceRequest request;
  request.title = texts::kConfirmDeleteTitle;
  request.instruction = texts::kSeriesDeleteInstruction;
  if (series_rows.size() == 1) {
    // The row without its mark names the entry.
    const std::size_t r = series_rows.front();
    const std::size_t mark = SeriesRowMark(state_.Series, row_series_[r]).size();
    request.content = "「" + rows_[r].substr(mark) + "」" + texts::kSeriesDeleteOneText;
  } else {
    request.content = texts::kSeriesDeleteManyText;
  }
  request.choices.assign(texts::kSeriesDeleteScopes.begin(), texts::kSeriesDeleteScopes.end());
  const std::optional<std::size_t> chosen = prompts_.Choose(request);
  if (!chosen || *chosen >= request.choices.size()) return std::nullopt;
  constexpr SeriesDeleteScope kScopes[] = {SeriesDeleteScope::kThisOne, SeriesDeleteScope::kThisAndLater,
                                           SeriesDeleteScope::kWholeSeries};
  return kScopes[*chosen];
}

bool UserDataListModel::DeleteChecked(const std::vector<bool>& checked) {
  // Check marks on rows that no longer show the day's entries would remove the wrong ones:
  // the user sees the day as it is now and ticks again.
  if (RefreshIfStale()) return true;
  const bool payments = state_.CalendarMode == kShowPayments;
  const bool specials = state_.CalendarMode == kShowSpecialDays;

  // Keys are collected before anything is removed: removing by key stays right although
  // the positions of later entries shift with every removal. Entries of a series go through
  // their series, which finds them by what they hold.
  std::vector<std::string> keys;
  std::vector<std::size_t> series_rows;
  const DayData* shown = ShownDay();
  const std::size_t rows = std::min(checked.size(), rows_.size());
  for (std::size_t r = 0; r < rows && shown && (payments || specials); ++r) {
    if (!checked[r]) continue;
    if (r < row_series_.size() && row_series_[r]) {
      series_rows.push_back(r);
      continue;
    }
    const auto position = static_cast<std::int64_t>(r) + 1;
    if (payments) {
      if (const auto* payment = shown->PaymentDatas.At(position)) keys.push_back(payment->Key);
    } else if (const auto* special = shown->SpecialDatas.At(position)) {
      keys.push_back(special->Key);
    }
  }
  if (keys.empty() && series_rows.empty()) {
    prompts_.Message(MessageIcon::Information, MessageButtons::Ok, texts::kNothingCheckedTitle,
                     texts::kNothingCheckedText);
    return false;
  }
  std::optional<SeriesDeleteScope> scope;
  if (!series_rows.empty()) {
    scope = AskSeriesScope(series_rows);
    if (!scope) return false;
  } else if (prompts_.Message(MessageIcon::Question, MessageButtons::OkCancel, texts::kConfirmDeleteTitle,
                              texts::kConfirmEntriesText) != MessageAnswer::Ok) {
    return false;
  }
  // The question runs a message loop: the year dialog may have removed the day meanwhile.
  // Then there is nothing left to delete, and nothing to save.
  std::vector<SeriesMatch> matches;
  for (std::size_t r : series_rows) matches.push_back(*row_series_[r]);
  DayData* day = ShownDay();
  if (RefreshIfStale() || !day) return true;

  for (const auto& key : keys) {
    if (payments)
      day->PaymentDatas.Remove(key);
    else
      day->SpecialDatas.Remove(key);
  }
  if (payments)
    RecalcPaymentTotals(*day);
  else
    RecalcSpecialTotals(*day);
  // Each series once, from its earliest checked occurrence: "this and later" from two rows
  // of one series means the earlier one.
  std::sort(matches.begin(), matches.end(), [](const SeriesMatch& a, const SeriesMatch& b) {
    return a.id != b.id ? a.id < b.id : a.nominal < b.nominal;
  });
  for (std::size_t i = 0; i < matches.size(); ++i) {
    const bool repeat = i > 0 && matches[i].id == matches[i - 1].id;
    if (repeat && *scope != SeriesDeleteScope::kThisOne) continue;
    DeleteFromSeries(state_.Years, state_.Series, matches[i].id, matches[i].nominal, *scope);
  }

  dsRefreshUserDataList();
  calendar_.dsDrawCalendar();
  AutoSaveUserData(state_, store_, prompts_);
  return true;
}

}  // namespace orv
