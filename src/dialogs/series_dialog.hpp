#pragma once
// The series dialog: how an entry of the input dialog repeats. Its controls hold texts and
// choices (a SeriesForm); the model turns them into a rule, says what is wrong with them, and
// previews the first occurrences and how many there will be.
#include <optional>
#include <string>
#include <string_view>

#include "core/dates.hpp"
#include "platform/prompts.hpp"
#include "schedule/new_entry.hpp"
#include "schedule/schedule.hpp"
#include "series/series.hpp"

namespace orv {

// What the series dialog's controls hold.
struct SeriesForm {
  std::string every = "1";
  SeriesUnit unit = SeriesUnit::kMonth;
  bool last_day = false;
  SeriesEnd end = SeriesEnd::kNever;
  std::string count;  // kept while another end is chosen, so that switching back restores it
  std::string until;
  SeriesShift shift = SeriesShift::kNone;
  bool operator==(const SeriesForm&) const = default;
};

// A new series of `entry` from `start`: every month, no end, the kind's shift.
SeriesRule DefaultSeriesRule(const NewEntry& entry, Date start);
// The form showing `rule`. The ends not chosen get a value to start from (12 times; a year on).
SeriesForm FormOfRule(const SeriesRule& rule);

// The form as a rule on `base` (its entry and start), or the message naming what is wrong.
struct SeriesFormRead {
  std::optional<SeriesRule> rule;
  std::string error;
};
SeriesFormRead ReadSeriesForm(const SeriesForm& form, const SeriesRule& base);

// A date as the user types it: "2027/3/31", "2027-03-31", "2027年3月31日", also in full-width
// digits; nullopt when it is no date of the calendar.
std::optional<Date> ParseDateText(std::string_view text);
// "2027/3/31", the form the date box shows.
std::string DateText(Date date);
// A count as the user types it (ASCII or full-width digits, blanks around); nullopt otherwise.
std::optional<int> ParseCountText(std::string_view text);

// What the preview shows: the first occurrences and their number, or why the form or the
// series would be refused.
std::string SeriesFormPreview(const SeriesForm& form, const SeriesRule& base, const YearDatas& years,
                              Date today);

// The input dialog's button: "繰り返し(&R): なし" or the rule's short text.
std::string RepeatButtonText(const std::optional<SeriesRule>& rule);

class SeriesDialogModel {
public:
  // `base`: the rule shown (its entry and start are kept); `years` and `today` for the count.
  SeriesDialogModel(const SeriesRule& base, const YearDatas& years, Date today, Prompts& prompts)
      : base_(base), years_(years), today_(today), prompts_(prompts), form_(FormOfRule(base)) {}

  const SeriesForm& Form() const { return form_; }
  const SeriesRule& Base() const { return base_; }
  // Payments may move off bank holidays; special days stay where they fall.
  bool ShiftAllowed() const { return IsPaymentKind(base_.entry.kind); }
  // Only months choose between the start's day and the month's last day.
  bool MonthDayAllowed(const SeriesForm& form) const { return form.unit == SeriesUnit::kMonth; }
  std::string Preview(const SeriesForm& form) const;

  // OK with the controls' contents: a wrong form or a rule that can never be added is
  // reported and the dialog stays; otherwise the rule is kept and true returned.
  bool OnOK(const SeriesForm& form);
  const std::optional<SeriesRule>& Result() const { return result_; }

private:
  SeriesRule base_;
  const YearDatas& years_;
  Date today_;
  Prompts& prompts_;
  SeriesForm form_;
  std::optional<SeriesRule> result_;
};

}  // namespace orv
