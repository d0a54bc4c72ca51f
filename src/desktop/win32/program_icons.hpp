#pragma once
// The tray icon and the calendar's hotspot cursors, drawn by the program at run time so the
// program carries no picture files.
#include "platform/win32/handles.hpp"

namespace orv {

// The tray picture: a small calendar leaf, 16 x 16. `few_colors` gives the 16-colour variant
// for systems without visual styles.
IconHandle MakeTrayIcon(bool few_colors);

enum class CursorShape { ArrowUp, ArrowDown, Pointer, NarrowBar, WidenBar };
// A 32 x 32 monochrome cursor: up arrow (hot spot at its top), down arrow (at its bottom), a
// pointer (top left), and arrowheads with a bar pointing right (narrows the calendar) or
// left (widens it), both with the hot spot in the centre.
CursorHandle MakeCursor(CursorShape shape);

}  // namespace orv
