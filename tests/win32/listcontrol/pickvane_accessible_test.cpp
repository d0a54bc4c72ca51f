// The list control as a screen reader reads it: a list named by its label, one list item per
// row with caption, comment, position and state, and the events that tell of the selection
// and the focus moving -- while the automation interface the host uses stays as it was.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "../../support/accessible_reader.hpp"
#include "listcontrol/host/pickvane_host.hpp"

namespace orv {
namespace {

using test::AccessibleOf;
using test::Child;
using test::HeardEvent;

struct LabelledHost {
  LabelledHost() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PickvaneReaderHost";
    RegisterClassW(&wc);
    window.reset(CreateWindowExW(0, L"PickvaneReaderHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr));
    // The label first: the control made after it follows it in the tab order.
    CreateWindowExW(0, L"STATIC", L"候補(&K):", WS_CHILD | WS_VISIBLE, 10, 0, 200, 16, window.get(), nullptr,
                    GetModuleHandleW(nullptr), nullptr);
  }
  WindowHandle window;
};

TEST(PickvaneAccessibility, ScreenReadersReadRowsStatesAndHearTheSelectionMove) {
  test::EventEar ear;
  ASSERT_TRUE(ear.listening());
  auto host = PickvaneHost::CreateFromProgramFolder();
  ASSERT_TRUE(host);
  host->AddItem("1", "家賃", "自動振替");
  host->AddItem("2", "電気代", "");
  host->AddItem("3", "一覧にない自動振替支払い", "自動振替");
  LabelledHost window;
  ASSERT_TRUE(host->PlaceIn(window.window.get(), RECT{10, 20, 310, 220}));
  ShowWindow(window.window.get(), SW_SHOW);
  host->Refresh();
  HWND list = host->window();
  SetFocus(list);
  ear.Pump();

  ComPtr<IAccessible> acc = AccessibleOf(list);
  ASSERT_TRUE(acc);
  EXPECT_EQ(test::Role(acc.get()), ROLE_SYSTEM_LIST);
  EXPECT_EQ(test::Name(acc.get()), L"候補(K):");
  ASSERT_EQ(test::ChildCount(acc.get()), 3);

  const struct {
    long id;
    const wchar_t *name, *description, *position;
    bool selected;
  } rows[] = {
      {1, L"家賃", L"自動振替", L"3 項目中 1 番目", true},
      {2, L"電気代", L"", L"3 項目中 2 番目", false},
      {3, L"一覧にない自動振替支払い", L"自動振替", L"3 項目中 3 番目", false},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(test::Role(acc.get(), r.id), ROLE_SYSTEM_LISTITEM) << r.id;
    EXPECT_EQ(test::Name(acc.get(), r.id), r.name);
    EXPECT_EQ(test::Text(acc.get(), &IAccessible::get_accDescription, r.id), r.description);
    EXPECT_EQ(test::Text(acc.get(), &IAccessible::get_accHelp, r.id), r.position);
    const long state = test::State(acc.get(), r.id);
    EXPECT_EQ((state & STATE_SYSTEM_SELECTED) != 0, r.selected) << r.id;
    EXPECT_EQ((state & STATE_SYSTEM_FOCUSED) != 0, r.selected) << r.id;
    EXPECT_TRUE(state & STATE_SYSTEM_SELECTABLE);
  }
  EXPECT_EQ(test::Role(acc.get(), 4), -1) << "no fourth row";

  // oleacc's own walk over the children finds the three rows (S_FALSE: fewer than asked for).
  VARIANT children[4];
  long got = 0;
  ASSERT_EQ(AccessibleChildren(acc.get(), 0, 4, children, &got), S_FALSE);
  ASSERT_EQ(got, 3);
  for (long i = 0; i < got; ++i) {
    EXPECT_EQ(children[i].vt, VT_I4);
    EXPECT_EQ(children[i].lVal, i + 1);
  }

  // Where the second row is on the screen, and back from that point to the row.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(acc->accLocation(&left, &top, &width, &height, Child(2)), S_OK);
  EXPECT_EQ(height, 36);
  VARIANT hit;
  ASSERT_EQ(acc->accHitTest(left + 20, top + height / 2, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, 2);

  // Down arrow: the selection and the focus move to row 2, and the reader hears it.
  SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
  auto heard = ear.Pump();
  EXPECT_TRUE(test::Contains(heard, HeardEvent{EVENT_OBJECT_SELECTION, list, OBJID_CLIENT, 2}));
  EXPECT_TRUE(test::Contains(heard, HeardEvent{EVENT_OBJECT_FOCUS, list, OBJID_CLIENT, 2}));
  EXPECT_TRUE(test::Contains(heard, HeardEvent{EVENT_OBJECT_STATECHANGE, list, OBJID_CLIENT, 1}));
  EXPECT_TRUE(test::Contains(heard, HeardEvent{EVENT_OBJECT_STATECHANGE, list, OBJID_CLIENT, 2}));
  EXPECT_TRUE(test::State(acc.get(), 2) & STATE_SYSTEM_FOCUSED);
  EXPECT_FALSE(test::State(acc.get(), 1) & STATE_SYSTEM_SELECTED);

  // A click on the third row, the same.
  HWND canvas = FindWindowExW(FindWindowExW(list, nullptr, L"KestrovePickvaneContainer", nullptr), nullptr,
                              L"KestrovePickvaneCanvas", nullptr);
  SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 2 * 36 + 10));
  SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(60, 2 * 36 + 10));
  heard = ear.Pump();
  EXPECT_TRUE(test::Contains(heard, HeardEvent{EVENT_OBJECT_SELECTION, list, OBJID_CLIENT, 3}));
  VARIANT selection;
  ASSERT_EQ(acc->get_accSelection(&selection), S_OK);
  EXPECT_EQ(selection.lVal, 3);

  // The host sees the same list through its automation interface, and the reader's own
  // selection is the host's `Selected`.
  EXPECT_EQ(host->Selected(), 3);
  EXPECT_EQ(host->Count(), 3);
  EXPECT_EQ(acc->accSelect(SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS, Child(1)), S_OK);
  EXPECT_EQ(host->Selected(), 1);
  EXPECT_TRUE(test::Contains(ear.Pump(), HeardEvent{EVENT_OBJECT_SELECTION, list, OBJID_CLIENT, 1}));

  // The reader may hold the object after the window is gone: it answers, it does not crash.
  window.window.reset();
  long count = 0;
  EXPECT_EQ(acc->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  BSTR name = nullptr;
  EXPECT_EQ(acc->get_accName(Child(1), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(name, nullptr);
  host.reset();
  acc.reset();
}

}  // namespace
}  // namespace orv
