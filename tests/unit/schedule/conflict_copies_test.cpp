#include "schedule/conflict_copies.hpp"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct ConflictCase {
  const char* name;
  const char* file;
  bool is_copy;
};

class ConflictCopies : public testing::TestWithParam<ConflictCase> {};

TEST_P(ConflictCopies, RecognisesTheSyncClientsNamesOnly) {
  const std::vector<std::string> listing{"予定.ORV", GetParam().file, "other.ORV"};
  const auto copies = FindConflictCopies("予定.ORV", listing, "Yamada-PC");
  EXPECT_EQ(copies, GetParam().is_copy ? std::vector<std::string>{GetParam().file} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConflictCopies,
    testing::Values(ConflictCase{"DropboxWithComputer", "予定 (DESKTOP-1's conflicted copy 2026-12-08).ORV", true},
                    ConflictCase{"DropboxWithTimeAndNumber", "予定 (conflicted copy 2026-12-08 101530) (1).ORV", true},
                    ConflictCase{"DropboxJapanese", "予定 (DESKTOP-1 の競合コピー 2026-12-08).ORV", true},
                    ConflictCase{"DropboxOtherExtensionCase", "予定 (Conflicted Copy 2026-12-08).orv", true},
                    ConflictCase{"OneDriveThisComputer", "予定-yamada-pc.ORV", true},
                    ConflictCase{"OneDriveOtherComputer", "予定-DESKTOP-7QK2P.ORV", true},
                    ConflictCase{"OneDriveSecondCopy", "予定-DESKTOP-7QK2P-2.ORV", true},
                    ConflictCase{"UsersYearCopy", "予定-2025.ORV", false},
                    ConflictCase{"UsersLowerCaseCopy", "予定-old.ORV", false},
                    ConflictCase{"UsersBracketNote", "予定 (copy).ORV", false},
                    ConflictCase{"OtherExtension", "予定-DESKTOP-7QK2P.bak", false},
                    ConflictCase{"OtherStem", "予定表-DESKTOP-7QK2P.ORV", false},
                    ConflictCase{"TooLongForAComputerName", "予定-ABCDEFGHIJKLMNOP.ORV", false}),
    [](const testing::TestParamInfo<ConflictCase>& param_info) { return std::string(param_info.param.name); });

TEST(ConflictCopies, KeepsTheListingsOrderAndNeverNamesTheDataFile) {
  const std::vector<std::string> listing{"data-PC2.ORV", "data.ORV", "DATA.orv", "data (conflicted copy 1).ORV"};
  EXPECT_EQ(FindConflictCopies("data.ORV", listing),
            (std::vector<std::string>{"data-PC2.ORV", "data (conflicted copy 1).ORV"}));
}

// What a copy keeps beside itself: its own companion, or the sync client's copy of the data
// file's companion with the same mark; never the data file's own companion, another copy's, or
// a file of another kind.
TEST(ConflictCopies, FindTheCompanionThatCameWithACopy) {
  const std::string dropbox = "予定 (DESKTOP-1's conflicted copy 2026-12-08).ORV";
  const std::string onedrive = "予定-DESKTOP-7QK2P.ORV";
  struct Case {
    const char* what;
    std::string copy;
    std::vector<std::string> listing;
    std::string expected;
  };
  const Case cases[] = {
      {"the copy's own companion", dropbox, {"予定.ORV.series", dropbox + ".series"}, dropbox + ".series"},
      {"Dropbox's copy of the companion", dropbox,
       {"予定.ORV.series", "予定.ORV (DESKTOP-1's conflicted copy 2026-12-08).series"},
       "予定.ORV (DESKTOP-1's conflicted copy 2026-12-08).series"},
      {"OneDrive's copy of the companion", onedrive, {"予定.ORV.series", "予定.ORV-DESKTOP-7QK2P.series"},
       "予定.ORV-DESKTOP-7QK2P.series"},
      {"letter case differs, the listing's spelling is given", onedrive, {"予定.orv-desktop-7qk2p.SERIES"},
       "予定.orv-desktop-7qk2p.SERIES"},
      {"the own companion before the client's copy", onedrive,
       {"予定.ORV-DESKTOP-7QK2P.series", onedrive + ".series"}, onedrive + ".series"},
      {"the data file's companion is not the copy's", dropbox, {"予定.ORV", "予定.ORV.series", dropbox}, ""},
      {"another copy's mark does not match", onedrive,
       {"予定.ORV-DESKTOP-7QK2P-2.series", "予定.ORV (DESKTOP-7QK2P's conflicted copy 2026-12-08).series"}, ""},
      {"another extension is another file", dropbox, {dropbox + ".bak", "予定.ORV (DESKTOP-1's conflicted copy 2026-12-08).txt"},
       ""},
      {"not a copy of this data file", "他のファイル.ORV", {"他のファイル.ORV.series"}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConflictCopyCompanion("予定.ORV", c.copy, ".series", c.listing), c.expected) << c.what;
}

}  // namespace
}  // namespace orv
