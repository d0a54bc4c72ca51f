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

}  // namespace
}  // namespace orv
