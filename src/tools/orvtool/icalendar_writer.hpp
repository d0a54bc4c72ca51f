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

// The part of every UID that tells one user data file from another, so that two people (or
// two files of one person) with the same entry on the same day export different events. It is
// derived from the file's full path, which stays the same from save to save (a save replaces
// the file's content, never its name) and needs nothing stored beside the file or in one
// machine's settings; a file that is moved or renamed exports new events.
std::string FileUidPart(std::string_view full_path);

// The events' UIDs, one per entry and in its order: the date and kind in clear, a digest of
// everything the event says, which of the day's entries with identical content it is (1 for
// the first), and the file's part. An entry keeps its UID whatever is added, changed or
// removed around it; one whose text or amount changes becomes a new event, so one UID always
// stands for one content, as the fixed DTSTAMP requires.
std::vector<std::string> EntryUids(const std::vector<DatedEntry>& entries, std::string_view file_part);

// "家賃 50,000円 (自動振替)": the name, the amount in yen and the kind as the day list shows it.
std::string PaymentSummary(const PaymentData& payment);

std::string WriteICalendar(const std::vector<DatedEntry>& entries, std::string_view file_part);

}  // namespace orv::tool
