#include "holidays/holiday_law.hpp"

#include <array>

namespace orv {
namespace {

using enum HolidayDay;

// Names as the Cabinet Office's list writes them. A rule that moved keeps one line per
// period; the Olympic years 2020 and 2021 moved three holidays once.
constexpr std::array kRules{
    HolidayRule{"元日", Fixed, 1, 1, 1948, kOpenEnded},
    HolidayRule{"成人の日", Fixed, 1, 15, 1948, 1999},
    HolidayRule{"成人の日", NthMonday, 1, 2, 2000, kOpenEnded},
    HolidayRule{"建国記念の日", Fixed, 2, 11, 1967, kOpenEnded},
    HolidayRule{"春分の日", VernalEquinox, 3, 0, 1948, kOpenEnded},
    HolidayRule{"天皇誕生日", Fixed, 4, 29, 1948, 1988},
    HolidayRule{"天皇誕生日", Fixed, 12, 23, 1989, 2018},
    HolidayRule{"天皇誕生日", Fixed, 2, 23, 2020, kOpenEnded},
    HolidayRule{"みどりの日", Fixed, 4, 29, 1989, 2006},
    HolidayRule{"みどりの日", Fixed, 5, 4, 2007, kOpenEnded},
    HolidayRule{"昭和の日", Fixed, 4, 29, 2007, kOpenEnded},
    HolidayRule{"憲法記念日", Fixed, 5, 3, 1948, kOpenEnded},
    HolidayRule{"こどもの日", Fixed, 5, 5, 1948, kOpenEnded},
    HolidayRule{"海の日", Fixed, 7, 20, 1996, 2002},
    HolidayRule{"海の日", NthMonday, 7, 3, 2003, 2019},
    HolidayRule{"海の日", Fixed, 7, 23, 2020, 2020},
    HolidayRule{"海の日", Fixed, 7, 22, 2021, 2021},
    HolidayRule{"海の日", NthMonday, 7, 3, 2022, kOpenEnded},
    HolidayRule{"山の日", Fixed, 8, 11, 2016, 2019},
    HolidayRule{"山の日", Fixed, 8, 10, 2020, 2020},
    HolidayRule{"山の日", Fixed, 8, 8, 2021, 2021},
    HolidayRule{"山の日", Fixed, 8, 11, 2022, kOpenEnded},
    HolidayRule{"敬老の日", Fixed, 9, 15, 1966, 2002},
    HolidayRule{"敬老の日", NthMonday, 9, 3, 2003, kOpenEnded},
    HolidayRule{"秋分の日", AutumnalEquinox, 9, 0, 1948, kOpenEnded},
    HolidayRule{"体育の日", Fixed, 10, 10, 1966, 1999},
    HolidayRule{"体育の日", NthMonday, 10, 2, 2000, 2018},
    HolidayRule{"体育の日（スポーツの日）", NthMonday, 10, 2, 2019, 2019},
    HolidayRule{"スポーツの日", Fixed, 7, 24, 2020, 2020},
    HolidayRule{"スポーツの日", Fixed, 7, 23, 2021, 2021},
    HolidayRule{"スポーツの日", NthMonday, 10, 2, 2022, kOpenEnded},
    HolidayRule{"文化の日", Fixed, 11, 3, 1948, kOpenEnded},
    HolidayRule{"勤労感謝の日", Fixed, 11, 23, 1948, kOpenEnded},
    // Days off by laws of their own, which count as national holidays.
    HolidayRule{"結婚の儀", Fixed, 4, 10, 1959, 1959},
    HolidayRule{"大喪の礼", Fixed, 2, 24, 1989, 1989},
    HolidayRule{"即位礼正殿の儀", Fixed, 11, 12, 1990, 1990},
    HolidayRule{"結婚の儀", Fixed, 6, 9, 1993, 1993},
    HolidayRule{"休日（祝日扱い）", Fixed, 5, 1, 2019, 2019},
    HolidayRule{"休日（祝日扱い）", Fixed, 10, 22, 2019, 2019},
};

// The equinox days the government announces each February for the following year follow
// these formulas; after 2150 the last one is only an estimate.
constexpr std::array kEquinoxes{
    EquinoxFormula{1900, 1979, 20.8357, 23.2588},
    EquinoxFormula{1980, 2099, 20.8431, 23.2488},
    EquinoxFormula{2100, kOpenEnded, 21.8510, 24.2488},
};

}  // namespace

const HolidayLaw& JapaneseHolidayLaw() {
  static const HolidayLaw law{
      .rules = kRules,
      .equinoxes = kEquinoxes,
      .law_start = MakeDate(1948, 7, 20),
      .substitute_start = MakeDate(1973, 4, 12),
      .next_free_substitute_start = MakeDate(2007, 1, 1),
      .citizens_start = MakeDate(1985, 12, 27),
      .substitute_name = "振替休日",
      .citizens_name = "国民の休日",
  };
  return law;
}

}  // namespace orv
