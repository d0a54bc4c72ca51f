#include "stand_in_desktop.hpp"

#include "desktop/wallpaper.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"

namespace orv::e2e {
namespace {

struct Desktop {
  std::unique_ptr<BitmapPicture> picture;
  WallpaperPlacement style = WallpaperPlacement::kFill;
  RECT hole{};  // the calendar's place, left out of the window
} g_desktop;

constexpr UINT_PTR kAroundCalendarTimer = 1;

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      PaintDesktop(dc, r.right, r.bottom, g_desktop.picture.get(), g_desktop.style, DesktopBackground());
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_TIMER: {
      // The calendar keeps itself at the bottom when it has no desktop window to live in, and
      // the z-order of two processes' windows is not dependable under Wine: the stand-in
      // leaves the calendar's place out of itself instead.
      RECT place{};
      HWND calendar = FindWindowW(L"OrvantaCalendar", nullptr);
      if (calendar && !GetParent(calendar) && IsWindowVisible(calendar)) GetWindowRect(calendar, &place);
      if (!EqualRect(&place, &g_desktop.hole)) {
        g_desktop.hole = place;
        RECT r;
        GetWindowRect(hwnd, &r);
        HRGN shape = CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top);
        HRGN hole = CreateRectRgn(place.left - r.left, place.top - r.top, place.right - r.left, place.bottom - r.top);
        CombineRgn(shape, shape, hole, RGN_DIFF);
        DeleteObject(hole);
        SetWindowRgn(hwnd, shape, TRUE);  // the window owns the region from here on
      }
      return 0;
    }
    case WM_CLOSE: PostQuitMessage(0); break;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

COLORREF DesktopBackground() {
  wchar_t text[64] = L"";
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Colors", L"Background", RRF_RT_REG_SZ, nullptr, text, &size) ==
      ERROR_SUCCESS)
    if (auto color = ParseColorTriple(WideToUtf8(text))) return RGB(RedOf(*color), GreenOf(*color), BlueOf(*color));
  return GetSysColor(COLOR_DESKTOP);
}

namespace {

std::unique_ptr<BitmapPicture> LoadBitmapFile(const wchar_t* file) {
  BitmapHandle bitmap(static_cast<HBITMAP>(
      LoadImageW(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  return bitmap ? std::make_unique<BitmapPicture>(std::move(bitmap)) : nullptr;
}

// One monitor: every copy's clip is the whole desktop, which the surface's edges give.
void PaintDesktopOn(GdiCanvas& desktop, const BitmapPicture* picture, WallpaperPlacement style, COLORREF background) {
  desktop.FillRect({0, 0, desktop.Width(), desktop.Height()}, background);
  if (!picture) return;
  const WallpaperLayout layout =
      LayoutWallpaper(style, picture->Width(), picture->Height(), {{0, 0, desktop.Width(), desktop.Height()}});
  // Scaled copies are smoothed as the program smooths them: a shell's own filter is not at
  // hand here, and the graphics system's differs between systems.
  for (const WallpaperPiece& piece : layout.copies) {
    if (piece.tiled) desktop.TilePicture(*picture, piece.dest);
    else desktop.DrawPicture(*picture, piece.dest, RasterOp::Copy, layout.Scaled());
  }
}

}  // namespace

void PaintDesktop(HDC dc, int width, int height, const BitmapPicture* picture, WallpaperPlacement style,
                  COLORREF background) {
  GdiCanvas desktop(width, height);
  PaintDesktopOn(desktop, picture, style, background);
  BitBlt(dc, 0, 0, width, height, desktop.dc(), 0, 0, SRCCOPY);
}

std::unique_ptr<GdiCanvas> PaintedDesktop(int width, int height, const std::wstring& picture_file,
                                          WallpaperPlacement style, COLORREF background) {
  const auto picture = LoadBitmapFile(picture_file.c_str());
  auto desktop = std::make_unique<GdiCanvas>(width, height);
  PaintDesktopOn(*desktop, picture.get(), style, background);
  return desktop;
}

int RunStandInDesktop(const wchar_t* picture_file, const wchar_t* style_name) {
  g_desktop.picture = LoadBitmapFile(picture_file);
  g_desktop.style = StyleNamed(WideToUtf8(style_name ? style_name : L"fill")).value_or(WallpaperPlacement::kFill);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DesktopProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OrvantaE2EDesktop";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              wc.hInstance, nullptr);
  SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetTimer(hwnd, kAroundCalendarTimer, 100, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  g_desktop.picture.reset();
  return 0;
}

int SendHostCommand(const wchar_t* id) {
  HWND host = FindWindowW(L"OrvantaBackground", nullptr);
  if (!host) return 1;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(host, WM_COMMAND, static_cast<WPARAM>(_wtoi(id)), 0, SMTO_NORMAL, 5000, &ignored);
  return 0;
}

}  // namespace orv::e2e
