#pragma once
// How the private-profile reader answers, case by case. The native tests run them against
// the portable reader; the Windows tests against the system's own reader as well, which
// must give the same answers.
#include <string>
#include <vector>

namespace orv::test {

struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  std::string expected;  // with default "<default>"
};

inline const std::string kLongIniValue(1500, 'x');

inline std::vector<ReadCase> IniReadCases() {
  return {
        ReadCase{"Plain", "[Head]\r\nTitle=Sky\r\n", "Head", "Title", "Sky"},
        ReadCase{"SectionAndKeyIgnoreCase", "[hEAD]\nTITLE=Sky\n", "Head", "title", "Sky"},
        ReadCase{"MissingKey", "[Head]\nTitle=Sky\n", "Head", "Comment", "<default>"},
        ReadCase{"MissingSection", "[Head]\nTitle=Sky\n", "Body", "Title", "<default>"},
        ReadCase{"EmptyValueIsNotTheDefault", "[Head]\nTitle=\n", "Head", "Title", ""},
        ReadCase{"KeyWithoutEqualsGivesDefault", "[Head]\nTitle\n", "Head", "Title", "<default>"},
        ReadCase{"FirstKeyWins", "[Head]\nTitle=One\nTitle=Two\n", "Head", "Title", "One"},
        ReadCase{"OnlyFirstSectionSearched", "[Head]\nA=1\n[Other]\n[HEAD]\nTitle=Two\n", "Head",
                 "Title", "<default>"},
        ReadCase{"TrimsAroundKeyAndValue", "[Head]\n  Title \t=  Sky blue \t\r\n", "Head", "Title",
                 "Sky blue"},
        ReadCase{"TrimsTheQuery", "[Head]\nTitle=Sky\n", " Head ", " Title ", "Sky"},
        ReadCase{"SectionNameTrimmedInside", "[ Head ]\nTitle=Sky\n", "Head", "Title", "Sky"},
        ReadCase{"IndentedHeader", "   [Head]\nTitle=Sky\n", "Head", "Title", "Sky"},
        ReadCase{"TextAfterHeader", "[Head] ; the head\nTitle=Sky\n", "Head", "Title", "Sky"},
        ReadCase{"HeaderEndsAtLastBracket", "[a]b]\nTitle=Sky\n", "a]b", "Title", "Sky"},
        ReadCase{"DoubleQuotesStripped", "[Head]\nTitle=\"  Sky  \"\n", "Head", "Title", "  Sky  "},
        ReadCase{"SingleQuotesStripped", "[Head]\nTitle='Sky'\n", "Head", "Title", "Sky"},
        ReadCase{"MismatchedQuotesKept", "[Head]\nTitle=\"Sky'\n", "Head", "Title", "\"Sky'"},
        ReadCase{"LoneQuoteKept", "[Head]\nTitle=\"\n", "Head", "Title", "\""},
        ReadCase{"EmptyQuotes", "[Head]\nTitle=\"\"\n", "Head", "Title", ""},
        ReadCase{"CommentLineIsNoKey", "[Head]\n;Title=Old\nTitle=New\n", "Head", "Title", "New"},
        ReadCase{"SemicolonInValueKept", "[Head]\nTitle=a;b\n", "Head", "Title", "a;b"},
        ReadCase{"EqualsInValueKept", "[Head]\nTitle=a=b\n", "Head", "Title", "a=b"},
        ReadCase{"IdeographicSpaceKept", "[Head]\nTitle=\x81\x40\x8B\xF3\x81\x40\n", "Head",
                 "Title", "\u3000空\u3000"},
        ReadCase{"CutAtNul", std::string("[Head]\nTitle=ab\0cd\n", 19), "Head", "Title", "ab"},
        ReadCase{"CutAt1023", "[Head]\nTitle=" + kLongIniValue + "\n", "Head", "Title",
                 std::string(1023, 'x')},
        ReadCase{"OldMacLineBreaks", "[Head]\rTitle=Sky\rComment=c\r", "Head", "Comment", "c"},
        ReadCase{"NoFinalLineBreak", "[Head]\nTitle=Sky", "Head", "Title", "Sky"},
        ReadCase{"HeaderWithoutBracketIsNotASection", "[Head]\n[Body\nTitle=Sky\n", "Head",
                 "Title", "Sky"},
        ReadCase{"CtrlZIsSpace", "[Head]\nTitle=Sky\x1A\n", "Head", "Title", "Sky"},
        ReadCase{"Cp932Text", "[\x83\x65\x81\x5B\x83\x7D]\n\x96\xBC\x91\x4F=\x8B\xF3\n",
                 "テーマ", "名前", "空"},
        ReadCase{"Utf8Bom", "\xEF\xBB\xBF[Head]\nTitle=空\n", "Head", "Title", "空"},
        ReadCase{"Utf16LeBom",
                 std::string("\xFF\xFE[\0H\0]\0\r\0\n\0T\0=\0\x7A\x7A\r\0\n\0", 22), "H", "T",
                 "\u7A7A"}};
}

}  // namespace orv::test
