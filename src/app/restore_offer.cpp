#include "app/restore_offer.hpp"

#include <utility>

#include "schedule/schedule_merge.hpp"

namespace orv {

std::string DiscardConfirmText(const std::string& recovery_path) {
  return "保存されていない予定を破棄します。破棄した予定は元に戻せません。\r\n" + recovery_path +
         "\r\n\r\n本当に破棄しますか？";
}

std::string RestoreOfferText(const std::string& unsaved_changes, const std::string& recovery_path) {
  return unsaved_changes + "\r\n\r\n保管場所: " + recovery_path;
}

RestoreOutcome OfferRecoveries(AppState& state, RestorePorts& ports) {
  RestoreOutcome outcome;
  for (const PendingRecovery& pending : ports.PendingRecoveries(state.UserDataPath)) {
    YearDatas years;
    DefaultUserListArray lists;
    SeriesBook book;
    // One that does not load stays where it is: the user can still open it as a data file.
    if (!ports.LoadRecovery(pending.Path, years, lists, book).empty()) continue;
    const ScheduleChanges changes =
        DiffSchedules({state.Years, state.DefaultUserLists}, {years, lists});
    if (changes.Empty()) {
      if (book != state.Series) {
        // Only the series rules moved on (nothing a day list could show): the later state.
        state.Series = std::move(book);
        ++outcome.restored;
      }
      ports.Discard(pending.Path);  // the schedule holds all of it already
      continue;
    }
    const std::string text = RestoreOfferText(UnsavedChangesText(changes), pending.Path);
    for (;;) {
      const RestoreChoice choice = ports.AskRestore(text);
      if (choice == RestoreChoice::kRestore) {
        state.Years = std::move(years);
        state.DefaultUserLists = std::move(lists);
        state.Series = std::move(book);
        ports.Discard(pending.Path);
        ++outcome.restored;
        break;
      }
      if (choice == RestoreChoice::kKeep) {
        if (pending.Kind == RecoveryKind::kJournal) ports.KeepAside(pending);
        ++outcome.kept;
        break;
      }
      if (ports.ConfirmDiscard(DiscardConfirmText(pending.Path))) {
        ports.Discard(pending.Path);
        ++outcome.discarded;
        break;
      }
      // Not confirmed: the offer comes back.
    }
  }
  return outcome;
}

}  // namespace orv
