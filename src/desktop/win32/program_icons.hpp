#pragma once
// The tray icon and the calendar's hotspot cursors, drawn by the program at run time so the
// program carries no picture files.
#include "desktop/entry_icons.hpp"
#include "platform/win32/handles.hpp"

namespace orv {

// The tray picture: a small calendar leaf, `pixels` wide and high (the system's small icon
// size at the scale in use). `few_colors` gives the variant for systems without visual styles.
IconHandle MakeTrayIcon(bool few_colors, int pixels = 16);

enum class CursorShape { ArrowUp, ArrowDown, Pointer, NarrowBar, WidenBar };
// A 32 x 32 monochrome cursor: up arrow (hot spot at its top), down arrow (at its bottom), a
// pointer (top left), and arrowheads with a bar pointing right (narrows the calendar) or
// left (widens it), both with the hot spot in the centre.
CursorHandle MakeCursor(CursorShape shape);

// An icon of `image`'s size with its alpha channel; pixels with alpha 0 are also cut out
// by the mask, for painting without alpha blending. None for an empty image.
IconHandle IconFromImage(const IconImage& image);

}  // namespace orv
