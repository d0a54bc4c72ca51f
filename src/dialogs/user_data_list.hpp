#pragma once
// The day schedule list (frmUserDataList): one day's payments or special-day entries, by the
// kind the calendar shows, with deletion of the checked rows and switching of the kind.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calendar/calendar_view.hpp"
#include "core/app_state.hpp"
#include "desktop/desktop_facts.hpp"
#include "platform/prompts.hpp"
#include "platform/settings_store.hpp"
#include "series/series.hpp"

namespace orv {

// Icons of the 64-pixel set by entry kind.
enum EntryIcon : std::int32_t {
  kIconAutomaticTransfer = 0,
  kIconCash = 1,
  kIconVerySpecial = 2,
  kIconSpecial = 3,
};

// Back colours of the buttons.
inline constexpr Rgb kDayListCloseColor = MakeRgb(206, 226, 245);
inline constexpr Rgb kDayListAddColor = MakeRgb(218, 233, 248);
inline constexpr Rgb kDayListDeleteColor = MakeRgb(237, 244, 251);

// The texts of one row of the day list.
std::string PaymentRowText(const PaymentData& payment, DesktopFacts& regional);
std::string SpecialRowText(const SpecialData& special);
// What stands before the row of a series entry: how often it comes ("毎月 ", "2週ごと "); ""
// for a plain entry.
std::string SeriesRowMark(const SeriesBook& book, const std::optional<SeriesMatch>& match);

class UserDataListModel {
public:
  UserDataListModel(AppState& state, DesktopFacts& regional, Prompts& prompts,
                    SettingsStore& store, CalendarView& calendar)
      : state_(state), regional_(regional), prompts_(prompts), store_(store), calendar_(calendar) {}

  // Stores the day and rebuilds the list.
  void SetEditDay(Date day);
  Date EditDay() const { return EditDay_; }
  const DateParts& EditDayParts() const { return EditDayParts_; }

  void dsRefreshUserDataList();
  // Rebuilds the list when its rows no longer show what the schedule holds (the year dialog is
  // not modal: it can remove the day's year while this list is open). True when rebuilt.
  bool RefreshIfStale();

  const std::string& Caption() const { return caption_; }
  const std::string& Message() const { return message_; }  // lblMsg
  const std::vector<std::string>& Rows() const { return rows_; }
  // Icon per row (0-based here; row k of the list is IconIndexes()[k - 1]).
  const std::vector<std::int32_t>& IconIndexes() const { return IconIndexes_; }
  // The icon imgIcon64 shows; nullopt before anything was shown.
  std::optional<std::int32_t> ShownIcon() const { return shown_icon_; }

  // Row `row` (0-based) became the selected one, by the mouse or the keys: imgIcon64 shows
  // that entry's icon.
  void OnRowSelected(int row);
  // Pmenu_NextEtra: payments and special days change places; the calendar follows.
  void OnNextKind();
  // The add-entry dialog opened from this one has closed.
  void AfterAddEntry();
  // The series of each row's entry (its row starts with SeriesRowMark), nullopt for a plain one.
  const std::vector<std::optional<SeriesMatch>>& RowSeries() const { return row_series_; }
  // cmdDel with one check flag per row. Returns true when the list was rebuilt (entries were
  // removed, or the rows had gone stale and the check marks no longer meant the same
  // entries), after which it has no check marks. When series entries are checked, the user
  // chooses how much of their series goes (only this one, this and later ones, the whole
  // series) instead of confirming; the plain checked entries go with them.
  bool DeleteChecked(const std::vector<bool>& checked);

private:
  // What the list shows for the day as the schedule holds it now.
  struct Listing {
    std::vector<std::string> rows;
    std::vector<std::int32_t> icons;
    std::vector<std::optional<SeriesMatch>> series;
    std::optional<std::int32_t> first_icon;
  };
  std::optional<SeriesDeleteScope> AskSeriesScope(const std::vector<std::size_t>& series_rows);
  DayData* ShownDay() const;
  Listing BuildListing() const;
  bool Stale() const;

  AppState& state_;
  DesktopFacts& regional_;
  Prompts& prompts_;
  SettingsStore& store_;
  CalendarView& calendar_;

  Date EditDay_{};
  DateParts EditDayParts_;
  std::string caption_;
  std::string message_;
  std::vector<std::string> rows_;
  std::vector<std::int32_t> IconIndexes_;
  std::vector<std::optional<SeriesMatch>> row_series_;
  std::optional<std::int32_t> shown_icon_;
};

}  // namespace orv
