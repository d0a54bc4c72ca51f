#include "platform/win32/gdi_canvas.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "platform/smooth_scale.hpp"
#include "platform/win32/wide.hpp"

namespace orv {

DWORD RopCode(RasterOp op) {
  switch (op) {
    case RasterOp::Copy: return SRCCOPY;
    case RasterOp::Erase: return SRCERASE;
    case RasterOp::Invert: return SRCINVERT;
  }
  return SRCCOPY;
}

BitmapPicture::BitmapPicture(BitmapHandle bitmap) : bitmap_(std::move(bitmap)) {
  BITMAP info{};
  if (bitmap_ && GetObjectW(bitmap_.get(), sizeof(info), &info)) {
    width_ = info.bmWidth;
    height_ = std::abs(info.bmHeight);
  }
}

bool BitmapPicture::Render(HDC dc, const RECT& dest, RasterOp op) const {
  if (!bitmap_) return false;
  MemoryDc source(CreateCompatibleDC(dc));
  if (!source) return false;
  SelectedObject selection(source.get(), bitmap_.get());
  const int w = dest.right - dest.left, h = dest.bottom - dest.top;
  if (w == width_ && h == height_) return BitBlt(dc, dest.left, dest.top, w, h, source.get(), 0, 0, RopCode(op));
  return StretchBlt(dc, dest.left, dest.top, w, h, source.get(), 0, 0, width_, height_, RopCode(op));
}

GdiCanvas::GdiCanvas(int width, int height, int bits_per_pixel)
    : dc_(CreateCompatibleDC(nullptr)), bits_per_pixel_(bits_per_pixel == 24 ? 24 : 32) {
  if (!dc_) return;
  SetBkMode(dc_.get(), TRANSPARENT);
  SetTextAlign(dc_.get(), TA_TOP | TA_LEFT | TA_NOUPDATECP);
  font_selection_ = SelectedObject(dc_.get(), GetStockObject(DEFAULT_GUI_FONT));
  Resize(width, height);
}

BITMAPINFOHEADER TopDownDibHeader(int width, int height, WORD bits_per_pixel) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = bits_per_pixel;
  header.biCompression = BI_RGB;
  return header;
}

BitmapHandle MakeTopDownDib(int width, int height, WORD bits_per_pixel, void*& bits) {
  BITMAPINFO info{};
  info.bmiHeader = TopDownDibHeader(width, height, bits_per_pixel);
  bits = nullptr;
  BitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  return bits ? std::move(dib) : BitmapHandle();
}

BitmapHandle GdiCanvas::MakeSurface(int width, int height) const {
  void* bits = nullptr;
  BitmapHandle surface = MakeTopDownDib(std::max(width, 1), std::max(height, 1), bits_per_pixel_, bits);
  if (!surface) return surface;
  MemoryDc temp(CreateCompatibleDC(dc_.get()));
  SelectedObject selection(temp.get(), surface.get());
  Fill(temp.get(), RECT{0, 0, std::max(width, 1), std::max(height, 1)}, back_);
  return surface;
}

void GdiCanvas::Fill(HDC dc, const RECT& rect, Rgb color) const {
  BrushHandle brush(CreateSolidBrush(color));
  if (brush) ::FillRect(dc, &rect, brush.get());
}

void GdiCanvas::Resize(int width, int height) {
  smoothed_.clear();  // a full redraw begins here: its theme's pictures may be new objects
  if (!dc_ || width < 0 || height < 0) return;
  BitmapHandle surface = MakeSurface(width, height);
  if (!surface) return;  // keep the old surface
  {
    MemoryDc temp(CreateCompatibleDC(dc_.get()));
    SelectedObject selection(temp.get(), surface.get());
    if (bitmap_) BitBlt(temp.get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_.get(), 0, 0, SRCCOPY);
  }
  bitmap_selection_.reset();
  bitmap_ = std::move(surface);
  bitmap_selection_ = SelectedObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
}

void GdiCanvas::KeepAsBackground() {
  if (!dc_) return;
  BitmapHandle copy = MakeSurface(width_, height_);
  if (!copy) return;
  MemoryDc temp(CreateCompatibleDC(dc_.get()));
  SelectedObject selection(temp.get(), copy.get());
  BitBlt(temp.get(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
  background_ = std::move(copy);
  smoothed_.clear();
}

void GdiCanvas::Clear() {
  if (!dc_) return;
  if (background_) {
    MemoryDc temp(CreateCompatibleDC(dc_.get()));
    SelectedObject selection(temp.get(), background_.get());
    Fill(dc_.get(), RECT{0, 0, width_, height_}, back_);  // where the background is smaller
    BitBlt(dc_.get(), 0, 0, width_, height_, temp.get(), 0, 0, SRCCOPY);
  } else {
    Fill(dc_.get(), RECT{0, 0, width_, height_}, back_);
  }
}

void GdiCanvas::SetFont(const FontSpec& font) {
  if (!dc_) return;
  if (font.face.empty()) {
    font_selection_.reset();
    font_.reset();
    font_selection_ = SelectedObject(dc_.get(), GetStockObject(DEFAULT_GUI_FONT));
    return;
  }
  int dpi = dpi_;
  if (dpi <= 0) {
    HDC screen = GetDC(nullptr);
    dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
  }
  LOGFONTW log{};
  // A pixel height is the cell height; points give the character height, hence the minus.
  log.lfHeight = font.pixel_height > 0 ? font.pixel_height
                                       : -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
  log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.italic ? TRUE : FALSE;
  log.lfEscapement = font.escapement;
  log.lfOrientation = font.escapement;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfOutPrecision = font.outline ? OUT_OUTLINE_PRECIS : OUT_DEFAULT_PRECIS;
  const std::wstring face = Utf8ToWide(font.face);
  lstrcpynW(log.lfFaceName, face.c_str(), LF_FACESIZE);
  FontHandle created(CreateFontIndirectW(&log));
  if (!created) return;
  font_selection_.reset();
  font_ = std::move(created);
  font_selection_ = SelectedObject(dc_.get(), font_.get());
  TEXTMETRICW metrics{};
  if (font.outline && GetTextMetricsW(dc_.get(), &metrics) && !(metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE))) {
    // The mapper kept the bitmap face (Wine ignores the precision): the system's outline face
    // of the same family takes its place.
    log.lfFaceName[0] = L'\0';
    log.lfPitchAndFamily = static_cast<BYTE>(metrics.tmPitchAndFamily & 0xF0);
    if (FontHandle outline{CreateFontIndirectW(&log)}) {
      font_selection_.reset();
      font_ = std::move(outline);
      font_selection_ = SelectedObject(dc_.get(), font_.get());
    }
  }
}

void GdiCanvas::SetTextColor(Rgb color) {
  if (dc_) ::SetTextColor(dc_.get(), color);
}

TextSize GdiCanvas::MeasureText(std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  SIZE size{};
  if (!dc_ || !GetTextExtentPoint32W(dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &size)) return {};
  return {size.cx, size.cy};
}

void GdiCanvas::PrintText(int x, int y, std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  if (dc_) TextOutW(dc_.get(), x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void GdiCanvas::FillRect(const PixelRect& rect, Rgb color) {
  if (dc_) Fill(dc_.get(), RECT{rect.left, rect.top, rect.right, rect.bottom}, color);
}

void GdiCanvas::FrameRect(const PixelRect& rect, Rgb color) {
  BrushHandle brush(CreateSolidBrush(color));
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  if (dc_ && brush) ::FrameRect(dc_.get(), &r, brush.get());
}

bool GdiCanvas::DrawSmoothed(const BitmapPicture& picture, const PixelRect& dest, RasterOp op) {
  const PixelRect shown = Intersect(dest, {0, 0, width_, height_});
  if (Empty(shown)) return true;
  if (!picture.bitmap() || picture.Width() <= 0 || picture.Height() <= 0) return false;
  constexpr int kKeptPixels = 256 * 256;  // pictures up to this size are kept whole
  const bool keep = dest.Width() * dest.Height() <= kKeptPixels;
  SmoothedCopy* kept = nullptr;
  for (SmoothedCopy& copy : smoothed_)
    if (copy.picture == &picture && copy.width == dest.Width() && copy.height == dest.Height()) kept = &copy;
  if (keep && !kept) {
    // Scaled whole once, whatever part is shown this time.
    void* bits = nullptr;
    SmoothedCopy copy{&picture, dest.Width(), dest.Height(), MakeTopDownDib(dest.Width(), dest.Height(), 32, bits)};
    if (copy.bitmap) {
      MemoryDc into(CreateCompatibleDC(dc_.get()));
      bool made = false;
      if (into) {
        SelectedObject selection(into.get(), copy.bitmap.get());
        made = SmoothInto(into.get(), dest.Width(), dest.Height(), picture, {0, 0, dest.Width(), dest.Height()},
                          RasterOp::Copy);
      }
      if (made) {
        if (smoothed_.size() >= 8) smoothed_.erase(smoothed_.begin());
        smoothed_.push_back(std::move(copy));
        kept = &smoothed_.back();
      }
    }
  }
  if (kept) {
    MemoryDc from(CreateCompatibleDC(dc_.get()));
    if (!from) return false;
    SelectedObject selection(from.get(), kept->bitmap.get());
    return BitBlt(dc_.get(), shown.left, shown.top, shown.Width(), shown.Height(), from.get(),
                  shown.left - dest.left, shown.top - dest.top, RopCode(op)) != FALSE;
  }
  return SmoothInto(dc_.get(), width_, height_, picture, dest, op);
}

bool GdiCanvas::SmoothInto(HDC target, int target_width, int target_height, const BitmapPicture& picture,
                           const PixelRect& dest, RasterOp op) const {
  const PixelRect shown = Intersect(dest, {0, 0, target_width, target_height});
  if (Empty(shown)) return true;
  const PixelRect part = Shifted(shown, -dest.left, -dest.top);
  const PixelRect need = SourceNeeded(picture.Width(), picture.Height(), dest.Width(), dest.Height(), part);
  // The source pixels the part needs, as 32-bit words, whatever the picture's own format.
  void* bits = nullptr;
  BitmapHandle source = MakeTopDownDib(need.Width(), need.Height(), 32, bits);
  if (!source) return false;
  {
    MemoryDc from(CreateCompatibleDC(target)), to(CreateCompatibleDC(target));
    if (!from || !to) return false;
    SelectedObject picture_selection(from.get(), picture.bitmap());
    SelectedObject source_selection(to.get(), source.get());
    if (!BitBlt(to.get(), 0, 0, need.Width(), need.Height(), from.get(), need.left, need.top, SRCCOPY)) return false;
  }
  GdiFlush();  // the copy is in the bits before they are read
  const std::span<const std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                              static_cast<std::size_t>(need.Width()) * need.Height());
  // The result goes into a surface of its own rather than the heap: the heap would keep the
  // pages of a block this size for good once it is freed.
  void* scaled_bits = nullptr;
  BitmapHandle scaled = MakeTopDownDib(part.Width(), part.Height(), 32, scaled_bits);
  if (!scaled) return false;
  auto* rows = static_cast<std::uint32_t*>(scaled_bits);
  const auto width = static_cast<std::size_t>(part.Width());
  ScaleSmoothlyRows(pixels, need, picture.Width(), picture.Height(), dest.Width(), dest.Height(), part,
                    [&](int y, std::span<const std::uint32_t> row) {
                      std::copy(row.begin(), row.end(), rows + static_cast<std::size_t>(y) * width);
                    });
  MemoryDc from(CreateCompatibleDC(target));
  if (!from) return false;
  SelectedObject scaled_selection(from.get(), scaled.get());
  return BitBlt(target, shown.left, shown.top, part.Width(), part.Height(), from.get(), 0, 0, RopCode(op)) != FALSE;
}

void GdiCanvas::DrawPicture(const Picture& picture, const PixelRect& dest, RasterOp op, bool halftone) {
  auto* win32 = dynamic_cast<const Win32Picture*>(&picture);
  if (!win32 || !dc_) return;
  if (halftone) {
    // Masks and the pictures they go with are smoothed alike, so both keep the same edges.
    auto* bitmap = dynamic_cast<const BitmapPicture*>(&picture);
    if (bitmap && DrawSmoothed(*bitmap, dest, op)) return;
  }
  const int old_mode = SetStretchBltMode(dc_.get(), halftone ? HALFTONE : COLORONCOLOR);
  if (halftone) SetBrushOrgEx(dc_.get(), 0, 0, nullptr);
  win32->Render(dc_.get(), RECT{dest.left, dest.top, dest.right, dest.bottom}, op);
  SetStretchBltMode(dc_.get(), old_mode);
}

void GdiCanvas::TilePicture(const Picture& picture, const PixelRect& dest) {
  auto* win32 = dynamic_cast<const Win32Picture*>(&picture);
  const int pw = picture.Width(), ph = picture.Height();
  const PixelRect shown = Intersect(dest, {0, 0, width_, height_});
  if (!win32 || !dc_ || pw <= 0 || ph <= 0 || Empty(shown)) return;
  // The copies that meet the surface, on the grid that starts at dest's top-left.
  const auto first = [](int from, int origin, int size) {
    return origin + static_cast<int>((std::int64_t{from} - origin) / size * size);
  };
  const int x0 = first(shown.left, dest.left, pw), y0 = first(shown.top, dest.top, ph);
  const std::int64_t copies = (std::int64_t{shown.right} - x0 + pw - 1) / pw * ((std::int64_t{shown.bottom} - y0 + ph - 1) / ph);
  const auto one_by_one = [&] {
    for (int y = y0; y < shown.bottom; y += ph)
      for (int x = x0; x < shown.right; x += pw) win32->Render(dc_.get(), RECT{x, y, x + pw, y + ph}, RasterOp::Copy);
  };
  // A few large copies are drawn as they are; many small ones as one fill with the picture as
  // the brush's pattern, from a copy of its pixels.
  constexpr std::int64_t kCopiesDrawnOneByOne = 16;
  if (copies <= kCopiesDrawnOneByOne) return one_by_one();
  void* bits = nullptr;
  BitmapHandle pattern = MakeTopDownDib(pw, ph, 32, bits);
  if (!pattern) return one_by_one();
  {
    MemoryDc into(CreateCompatibleDC(dc_.get()));
    if (!into) return one_by_one();
    SelectedObject selection(into.get(), pattern.get());
    if (!win32->Render(into.get(), RECT{0, 0, pw, ph}, RasterOp::Copy)) return one_by_one();
  }
  BrushHandle brush(CreatePatternBrush(pattern.get()));
  if (!brush) return one_by_one();
  POINT old_origin{};
  SetBrushOrgEx(dc_.get(), ((dest.left % pw) + pw) % pw, ((dest.top % ph) + ph) % ph, &old_origin);
  const RECT area{shown.left, shown.top, shown.right, shown.bottom};
  ::FillRect(dc_.get(), &area, brush.get());
  SetBrushOrgEx(dc_.get(), old_origin.x, old_origin.y, nullptr);
}

void GdiCanvas::CopyFrom(const Canvas& source, const PixelRect& from, const PixelRect& dest, bool halftone) {
  auto* gdi = dynamic_cast<const GdiCanvas*>(&source);
  if (!gdi || !dc_) return;
  if (from.Width() == dest.Width() && from.Height() == dest.Height()) {
    BitBlt(dc_.get(), dest.left, dest.top, dest.Width(), dest.Height(), gdi->dc(), from.left, from.top, SRCCOPY);
    return;
  }
  const int old_mode = SetStretchBltMode(dc_.get(), halftone ? HALFTONE : COLORONCOLOR);
  if (halftone) SetBrushOrgEx(dc_.get(), 0, 0, nullptr);
  StretchBlt(dc_.get(), dest.left, dest.top, dest.Width(), dest.Height(), gdi->dc(), from.left, from.top,
             from.Width(), from.Height(), SRCCOPY);
  SetStretchBltMode(dc_.get(), old_mode);
}

Rgb GdiCanvas::SystemColorOf(SystemColor which) const {
  switch (which) {
    case SystemColor::Highlight: return GetSysColor(COLOR_HIGHLIGHT);
    case SystemColor::HighlightText: return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case SystemColor::ButtonShadow: return GetSysColor(COLOR_BTNSHADOW);
    case SystemColor::ButtonFace: return GetSysColor(COLOR_BTNFACE);
    case SystemColor::Window: return GetSysColor(COLOR_WINDOW);
    case SystemColor::WindowText: return GetSysColor(COLOR_WINDOWTEXT);
    case SystemColor::Desktop: return GetSysColor(COLOR_DESKTOP);
  }
  return 0;
}

Rgb GdiCanvas::PixelAt(int x, int y) const {
  if (!dc_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const COLORREF c = GetPixel(dc_.get(), x, y);
  return c == CLR_INVALID ? 0 : c;
}

}  // namespace orv
