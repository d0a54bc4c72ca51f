#include "platform/win32/ole_picture.hpp"

namespace orv {

OlePicture::OlePicture(IPicture* picture) : picture_(picture) {
  if (!picture_) return;
  picture_->get_Width(&himetric_width_);
  picture_->get_Height(&himetric_height_);
  HDC screen = GetDC(nullptr);
  const int dpi_x = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  const int dpi_y = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  // 2540 HIMETRIC units to the inch.
  width_ = MulDiv(himetric_width_, dpi_x, 2540);
  height_ = MulDiv(himetric_height_, dpi_y, 2540);
}

bool OlePicture::Render(HDC dc, const RECT& dest, RasterOp op) const {
  if (!picture_) return false;
  SHORT type = PICTYPE_UNINITIALIZED;
  picture_->get_Type(&type);
  OLE_HANDLE handle = 0;
  // Masks and inversions need the raw bitmap; everything else renders as the picture wants
  // (icons with their transparency).
  if (op != RasterOp::Copy && type == PICTYPE_BITMAP && SUCCEEDED(picture_->get_Handle(&handle))) {
    MemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selection(source.get(), reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)));
    SetStretchBltMode(dc, COLORONCOLOR);
    return StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source.get(), 0, 0,
                      width_, height_, RopCode(op));
  }
  // Icons are drawn from their handle: some IPicture implementations paint an icon's colour
  // bitmap without its alpha channel, which leaves soft edges opaque.
  if (op == RasterOp::Copy && type == PICTYPE_ICON && SUCCEEDED(picture_->get_Handle(&handle)) && handle)
    return DrawIconEx(dc, dest.left, dest.top, reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)),
                      dest.right - dest.left, dest.bottom - dest.top, 0, nullptr, DI_NORMAL);
  return SUCCEEDED(picture_->Render(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0,
                                    himetric_height_, himetric_width_, -himetric_height_, nullptr));
}

}  // namespace orv
