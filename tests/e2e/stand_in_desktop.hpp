// A stand-in for the desktop the shell paints: the background colour with the wallpaper laid
// out in a style, each copy clipped to its monitor, as a shell draws it. The end-to-end checks
// compare the calendar's background with it; `orv_e2e desktop FILE STYLE` shows it as a window
// around the calendar, for pictures of the calendar on a desktop.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "desktop/desktop_facts.hpp"
#include "platform/win32/gdi_canvas.hpp"

namespace orv::e2e {

// Paints a `width` x `height` desktop into `dc`.
void PaintDesktop(HDC dc, int width, int height, const BitmapPicture* picture, WallpaperPlacement style,
                  COLORREF background);
// The same desktop painted in memory from a bitmap file.
std::unique_ptr<GdiCanvas> PaintedDesktop(int width, int height, const std::wstring& picture_file,
                                          WallpaperPlacement style, COLORREF background);
// The colour the program paints under and around the wallpaper: the settings' desktop colour,
// else the system's.
COLORREF DesktopBackground();
// The stand-in desktop window, run as its own process until it is closed.
int RunStandInDesktop(const wchar_t* picture_file, const wchar_t* style_name);
// Sends a running Orvanta's host window a menu command (`orv_e2e command ID`), as its tray
// menu would; 1 when there is no Orvanta.
int SendHostCommand(const wchar_t* id);

}  // namespace orv::e2e
