#pragma once
// Reminders of what is due: the payments (and, when asked, the very special days) of the
// next few days gathered into one notification. Each occurrence is reminded once: what was
// shown is remembered in the settings by what it was (date, kind, name, amount), long after
// its date is past, so a restart, a date change, a wake from sleep or a clock set ahead and
// back again never shows it again. Days that passed while the computer was off are caught up
// once, in the same single notification.
#include <cstdint>
#include <string>
#include <vector>

#include "core/dates.hpp"
#include "platform/settings_store.hpp"
#include "schedule/schedule.hpp"

namespace orv {

// The title of the notification.
inline constexpr char kReminderTitle[] = "支払いの予定";
// How many days back a start after days off looks for what was missed.
inline constexpr int kCatchUpDays = 14;
// The lead time's range in days.
inline constexpr std::int32_t kMaxRemindDaysAhead = 14;
// After the schedule changed (an entry added, a series made, a file merged in), what is due is
// looked at again this long after the last change of a burst, so that a payment added for
// tomorrow is reminded at once rather than at the next date change, and a bulk edit or the
// occurrences of a new series come in one notification.
inline constexpr int kLookAfterChangeMilliseconds = 1500;
// How long what was shown is remembered after its date: more than a year, so that a clock
// set ahead (a mistyped year, a test of some other program) and then put right finds every
// occurrence it reminded of in between still recorded. The clock cannot be told from days
// off, so the record does not trust `today` to say what is over.
inline constexpr int kRemindedKeptDays = 400;

enum class DueKind { AutomaticTransfer, Cash, VerySpecial, Special };

struct DueEntry {
  Date date{};
  DueKind kind = DueKind::AutomaticTransfer;
  std::string name;        // the payment's name or the special day's title
  std::int32_t amount = 0; // payments only
  std::string comment;     // special days only
  bool operator==(const DueEntry&) const = default;
};

// Every entry of the days first..last (inclusive) in date order, each day's in the order the
// schedule holds them: payments first, then special days. Special days only when asked,
// plain ones only when `special` is set too.
std::vector<DueEntry> EntriesBetween(const YearDatas& years, Date first, Date last, bool very_special,
                                     bool special = false);

struct ReminderOptions {
  bool on = true;
  std::int32_t days_ahead = 2;
  bool very_special = true;
};

// What the settings remember between runs: the day of the last look and one line per
// occurrence shown.
struct ReminderRecord {
  Date last_look{};  // the epoch: never looked
  std::vector<std::string> shown;
  bool operator==(const ReminderRecord&) const = default;
};
// "Run"/"RemindedOn" and "Run"/"Reminded" (lines of date, kind, name and amount).
ReminderRecord ReadReminderRecord(const SettingsStore& store);
void SaveReminderRecord(SettingsStore& store, const ReminderRecord& record);
// The line that names an occurrence in the record.
std::string ReminderIdentity(const DueEntry& entry);

// What to remind of now, `today` being the local date: the entries of today to today + the
// lead time, plus those missed since the last look (at most kCatchUpDays back), less those
// already shown. The record learns them, forgets what is more than kRemindedKeptDays past,
// and notes today's look.
// Nothing is taken (and the record is left alone) while reminders are off.
std::vector<DueEntry> TakeReminders(const YearDatas& years, Date today, const ReminderOptions& options,
                                    ReminderRecord& record);

// "50,000円", "-1,234円"; sums of many days may leave the 32-bit range.
std::string Yen(std::int64_t amount);
// "12月10日(木)".
std::string ShortDateText(Date date);
// "家賃 50,000円 (自動振替)", "結婚記念日 (特に特別な日) 花を買う".
std::string DueEntryText(const DueEntry& entry);

// The notification's text: one line per entry with its date, a day's total after its lines
// where several payments fall on one day, and "ほか N 件" for the entries past what fits in
// `max_lines` lines and `max_units` UTF-16 units (the tray's limit is 255).
std::string ReminderText(const std::vector<DueEntry>& entries, int max_lines = 6, int max_units = 255);

// Whether the user takes notifications now, by the shell's notification state (1 no user
// present, 2 busy with a full-screen program, 3 a full-screen game, 4 presenting, 5 accepts,
// 6 the quiet time after setup, 7 an app in full screen). Anything unknown accepts.
bool AcceptsNotifications(int user_notification_state);

// UTF-16 units of a UTF-8 text.
int Utf16Units(const std::string& text);

}  // namespace orv
