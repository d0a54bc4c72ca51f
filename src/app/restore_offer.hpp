#pragma once
// At start, once the data file is loaded: every recovery file that belongs to it (the journal
// of a session that ended without saving, the files of saves that failed) is offered to the
// user, one after another, oldest first, until it is restored or discarded. The offer says,
// day by day, which entries it would add and remove; the user restores it into the schedule
// (the default), keeps it for a later start, or discards it after a confirmation. A recovery
// file that holds nothing the schedule lacks goes without a word. The series book travels
// with each recovery file (its companion): a restore brings it back too, and one whose entries
// equal the schedule's but whose book differs (a series ended or its dates skipped with no
// entry left to remove) gives its book back without asking.
#include <string>
#include <vector>

#include "core/app_state.hpp"
#include "schedule/recovery_file.hpp"

namespace orv {

enum class RestoreChoice { kRestore, kKeep, kDiscard };

// The confirmation before a recovery file is deleted.
inline constexpr char kDiscardConfirmTitle[] = "復元用データの破棄";
std::string DiscardConfirmText(const std::string& recovery_path);
// The offer: what was not saved, and where it is kept.
std::string RestoreOfferText(const std::string& unsaved_changes, const std::string& recovery_path);

class RestorePorts {
public:
  virtual ~RestorePorts() = default;
  virtual std::vector<PendingRecovery> PendingRecoveries(const std::string& data_path) = 0;
  // sfLoadUserData of a recovery file, and the series book of its companion (empty when it
  // has none or it does not read); the error text, empty on success.
  virtual std::string LoadRecovery(const std::string& path, YearDatas& years, DefaultUserListArray& lists,
                                   SeriesBook& book) = 0;
  virtual RestoreChoice AskRestore(const std::string& text) = 0;
  // OK/Cancel; true for OK.
  virtual bool ConfirmDiscard(const std::string& text) = 0;
  virtual void Discard(const std::string& path) = 0;
  // A journal kept for later moves out of the way of this session's journal, under a name
  // that stays pending.
  virtual void KeepAside(const PendingRecovery& journal) = 0;
};

struct RestoreOutcome {
  int restored = 0;
  int kept = 0;
  int discarded = 0;
};

// Offers every pending recovery file of state.UserDataPath. A restored one replaces the
// schedule in memory (so exactly the listed entries are added and removed) and is deleted; the
// caller then makes the schedule durable and saves it.
RestoreOutcome OfferRecoveries(AppState& state, RestorePorts& ports);

}  // namespace orv
