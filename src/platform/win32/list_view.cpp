#include "platform/win32/list_view.hpp"

#include <commctrl.h>

#include "platform/win32/wide.hpp"

namespace orv {

void SetListViewRows(HWND list, std::span<const std::string> rows) {
  ListView_DeleteAllItems(list);
  int index = 0;
  for (const std::string& row : rows) {
    std::wstring text = Utf8ToWide(row);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index++;
    item.pszText = text.data();
    ListView_InsertItem(list, &item);
  }
}

}  // namespace orv
