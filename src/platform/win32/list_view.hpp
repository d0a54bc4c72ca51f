#pragma once
// Filling a report list view whose rows are texts.
#include <windows.h>

#include <span>
#include <string>

namespace orv {

// Replaces every item of `list` with one item per row, in order, its text the row's (UTF-8).
void SetListViewRows(HWND list, std::span<const std::string> rows);

}  // namespace orv
