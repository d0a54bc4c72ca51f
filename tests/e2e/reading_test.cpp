// A screen reader's user and Orvanta: the calendar read day by day with its entries, the
// week buttons pressed through the reader, the focus heard as the keys scroll, and the
// add-entry dialog's list read item by item -- all from another process, as a reader does.
#include "e2e_harness.hpp"

#include "../support/accessible_reader.hpp"
#include "calendar/day_names.hpp"
#include "core/dates.hpp"
#include "holidays/japanese_holidays.hpp"

namespace orv::e2e {
namespace {

class ReadingE2E : public OrvantaE2E {
protected:
  void SetUp() override {
    OrvantaE2E::SetUp();
    OleInitialize(nullptr);
  }
  void TearDown() override {
    OleUninitialize();
    OrvantaE2E::TearDown();
  }
  // The child of `acc` named `name`, 0 when none is.
  static long ChildNamed(IAccessible* acc, const std::wstring& name) {
    for (long id = 1, n = test::ChildCount(acc); id <= n; ++id)
      if (test::Name(acc, id) == name) return id;
    return 0;
  }
};

TEST_F(ReadingE2E, AReaderHearsTheDaysWithTheirEntriesPressesTheWeekButtonsAndReadsTheAddList) {
  // Rent on today, shown in the calendar's first row (the start is today by default).
  const Date today = LocalToday();
  YearDatas years;
  DayData& day = GetOrCreateDay(years, SplitDate(today));
  PaymentData& rent = *day.PaymentDatas.Add(NextPaymentKey(day));
  rent.strTitle = "家賃";
  rent.lngPrice = 50000;
  RecalcPaymentTotals(day);
  const std::string path = DataFile("data.orv");
  DefaultUserListArray lists;
  ASSERT_EQ(sfSaveUserData(path, years, lists), "");
  StoreDataPath(path);
  StopProgman();  // a window of its own, which takes the keys from the tray icon's click
  Launch();
  ASSERT_TRUE(WaitShown());
  SendMessageW(Host(), WM_COMMAND, 1021, 0);  // 支払いの予定(&P)
  ASSERT_TRUE(WaitMode("1"));

  ComPtr<IAccessible> calendar = test::AccessibleOf(Calendar());
  ASSERT_TRUE(calendar) << "the calendar answers no screen reader";
  EXPECT_EQ(test::Role(calendar.get()), ROLE_SYSTEM_LIST);
  const long children = test::ChildCount(calendar.get());
  ASSERT_GT(children, 4 + 7);
  // The name the strip's day reads, its holiday included (the program shows holidays by default).
  auto name_of = [](Date date, const DayData* entries) {
    const std::string_view holiday = HolidayName(date);
    return Utf8ToWide(DayAccessibleName(SplitDate(date), entries,
                                        holiday.empty() ? std::nullopt : std::optional(holiday)));
  };
  const std::wstring today_name = name_of(today, &day);
  EXPECT_EQ(test::Name(calendar.get(), 1), today_name);  // "12月8日 火曜日 家賃 50,000円 (自動振替)、合計 50,000円"
  EXPECT_EQ(test::Role(calendar.get(), 1), ROLE_SYSTEM_LISTITEM);
  EXPECT_EQ(test::Name(calendar.get(), 2), name_of(today + std::chrono::days{1}, nullptr));

  // The week buttons, pressed through the reader, move the calendar a week.
  const long forward = ChildNamed(calendar.get(), L"次の週");
  ASSERT_GT(forward, 0);
  EXPECT_GT(ChildNamed(calendar.get(), L"前の週"), 0);
  EXPECT_EQ(test::Role(calendar.get(), forward), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(test::Text(calendar.get(), &IAccessible::get_accDefaultAction, forward), L"次の週へスクロール");
  const std::string before = StartDate();
  ASSERT_EQ(calendar->accDoDefaultAction(test::Child(forward)), S_OK);
  ASSERT_TRUE(WaitFor([&] { return StartDate() != before; }, 5000));
  EXPECT_EQ(ChildNamed(calendar.get(), today_name), 0) << "today scrolled out of the strip";
  EXPECT_EQ(test::Name(calendar.get(), 1).rfind(name_of(today + std::chrono::days{7}, nullptr), 0), 0u);

  // The keys scroll, and the reader hears the focus on the top day.
  DWORD process = 0;
  GetWindowThreadProcessId(Calendar(), &process);
  test::EventEar ear(process);
  ASSERT_TRUE(FocusCalendar());
  ear.Pump();
  HWND bar = FindWindowExW(Calendar(), nullptr, L"ScrollBar", nullptr);
  PostMessageW(bar, WM_KEYDOWN, VK_UP, 0);
  ASSERT_TRUE(WaitFor([&] { return StartDate() != before; }, 5000));
  bool heard = false;
  WaitFor([&] {
    heard = heard || test::Contains(ear.Pump(), test::HeardEvent{EVENT_OBJECT_FOCUS, Calendar(), OBJID_CLIENT, 1});
    return heard;
  }, 5000);
  EXPECT_TRUE(heard) << "no focus event for the top day";

  // The add-entry dialog: its list is named, and every item reads caption, kind and place.
  HWND add = OpenAddEntryAt(MiddleDayRow());
  ASSERT_TRUE(add);
  const test::DialogWalk walk = test::WalkDialog(add);
  EXPECT_EQ(walk.inputs, 1);
  EXPECT_TRUE(walk.unnamed.empty());
  HWND list = FindWindowExW(add, nullptr, L"KestrovePickvaneControl", nullptr);
  ComPtr<IAccessible> items = test::AccessibleOf(list);
  ASSERT_TRUE(items);
  EXPECT_EQ(test::Name(items.get()), L"追加の一覧");
  const long count = test::ChildCount(items.get());
  ASSERT_EQ(count, 4);  // no presets: the four catch-all items
  const long transfer = ChildNamed(items.get(), L"一覧にない自動振替支払い");
  ASSERT_GT(transfer, 0);
  EXPECT_EQ(test::Text(items.get(), &IAccessible::get_accDescription, transfer), L"自動振替");
  EXPECT_EQ(test::Text(items.get(), &IAccessible::get_accHelp, 4), L"4 項目中 4 番目");
  EXPECT_TRUE(test::State(items.get(), 1) & STATE_SYSTEM_SELECTED);
  PostMessageW(add, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(add); }));
  // Held past the dialog, the list's object says it is gone.
  long left = -1;
  EXPECT_NE(items->get_accChildCount(&left), S_OK);
  Quit();
}

}  // namespace
}  // namespace orv::e2e
