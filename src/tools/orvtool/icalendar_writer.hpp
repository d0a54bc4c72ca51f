#pragma once
// The schedule as an iCalendar file (RFC 5545) for other calendar programs: one all-day event
// per entry. The bytes depend on the schedule alone, never on the clock, so exporting an
// unchanged file twice gives the same bytes, and a calendar program that imports both finds
// the same events under the same UIDs instead of doubling them.
#include <string>
#include <string_view>
#include <vector>

#include "tools/orvtool/schedule_entries.hpp"

namespace orv::tool {

// A TEXT value: backslash, semicolon and comma escaped, every line break (CR LF, LF or CR) as
// "\n". Other control characters, which TEXT cannot carry, are left out.
std::string EscapeICalendarText(std::string_view text);

// One content line with its CR LF, folded so that no physical line exceeds 75 octets; a fold
// never splits a UTF-8 character.
std::string FoldContentLine(std::string_view line);

// The event's UID: its date, kind and position in clear (unique within the file), then a digest
// of everything the event says. An entry whose text or amount changes becomes a new event, so
// one UID always stands for one content, as the fixed DTSTAMP requires.
std::string EntryUid(const ScheduleEntry& entry);

// "家賃 50,000円 (自動振替)": the name, the amount in yen and the kind as the day list shows it.
std::string PaymentSummary(const PaymentData& payment);

std::string WriteICalendar(const std::vector<ScheduleEntry>& entries);

}  // namespace orv::tool
