#pragma once
// Bulk deletion of years (frmYearDatasDialog): every year of the schedule with a check box;
// the checked ones go after a confirmation and the calendar is redrawn. Nothing is saved here.
#include <string>
#include <vector>

#include "calendar/calendar_view.hpp"
#include "core/app_state.hpp"
#include "platform/prompts.hpp"

namespace orv {

// Left of the calendar, centred vertically on the screen (all in one unit).
struct DialogOrigin {
  int Left = 0, Top = 0;
};
DialogOrigin YearDatasDialogOrigin(int screen_width, int screen_height, int calendar_width,
                                   int dialog_width, int dialog_height);

class YearDatasModel {
public:
  YearDatasModel(AppState& state, Prompts& prompts, CalendarView& calendar)
      : state_(state), prompts_(prompts), calendar_(calendar) {}

  void dsRefreshYearDatasList();
  const std::vector<std::string>& Rows() const { return rows_; }
  // YearKeys()[r] is the key of the year list row r (0-based) stands for.
  const std::vector<std::string>& YearKeys() const { return YearKeys_; }

  // cmdDel with one check flag per row. Returns true when years were removed, after which the
  // list has been rebuilt without check marks.
  bool DeleteChecked(const std::vector<bool>& checked);

private:
  AppState& state_;
  Prompts& prompts_;
  CalendarView& calendar_;
  std::vector<std::string> rows_;
  std::vector<std::string> YearKeys_;
};

}  // namespace orv
