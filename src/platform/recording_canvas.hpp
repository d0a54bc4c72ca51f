#pragma once
// A Canvas that records what is drawn, for tests of drawing logic. Text metrics are fixed:
// every character (UTF-8 code point) is `char_width` pixels wide and a line is
// `line_height` high, so expected positions can be worked out by hand.
#include <string>
#include <vector>

#include "platform/canvas.hpp"

namespace orv {

class SyntheticPicture : public Picture {
public:
  SyntheticPicture(int width, int height, std::string name = {})
      : width_(width), height_(height), name_(std::move(name)) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const std::string& Name() const { return name_; }

private:
  int width_, height_;
  std::string name_;
};

struct DrawCall {
  enum Kind { Clear, KeepAsBackground, Resize, Text, Fill, Frame, Picture, Tiles, Copy } kind = Clear;
  PixelRect rect;         // Fill, Frame, Picture, Tiles, Copy: destination; Resize: size; Text: box
  std::string text;       // Text: the text; Picture, Tiles: the picture's name
  Rgb color = 0;          // Text: text colour; Fill, Frame: the colour
  FontSpec font;          // Text: the current font
  RasterOp op = RasterOp::Copy;
  PixelRect source;       // Copy: the source rectangle
  bool halftone = false;  // Copy, Picture

  static DrawCall Of(Kind kind, const PixelRect& rect = {}) {
    DrawCall call;
    call.kind = kind;
    call.rect = rect;
    return call;
  }
};

class RecordingCanvas : public Canvas {
public:
  explicit RecordingCanvas(int width = 0, int height = 0, int char_width = 8, int line_height = 16)
      : width_(width), height_(height), char_width_(char_width), line_height_(line_height) {}

  std::vector<DrawCall> calls;
  int measure_count = 0;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Resize(int width, int height) override {
    width_ = width;
    height_ = height;
    calls.push_back(DrawCall::Of(DrawCall::Resize, {0, 0, width, height}));
  }
  void SetBackColor(Rgb color) override { back_ = color; }
  void KeepAsBackground() override { calls.push_back(DrawCall::Of(DrawCall::KeepAsBackground)); }
  void Clear() override { calls.push_back(DrawCall::Of(DrawCall::Clear)); }
  void SetDpi(int dpi) override { dpi_ = dpi; }
  int Dpi() const { return dpi_; }
  void SetFont(const FontSpec& font) override { font_ = font; }
  void SetTextColor(Rgb color) override { text_color_ = color; }
  TextSize MeasureText(std::string_view text) override {
    ++measure_count;
    return {CodePoints(text) * char_width_, line_height_};
  }
  void PrintText(int x, int y, std::string_view text) override {
    DrawCall call = DrawCall::Of(DrawCall::Text, {x, y, x + CodePoints(text) * char_width_, y + line_height_});
    call.text = std::string(text);
    call.color = text_color_;
    call.font = font_;
    calls.push_back(std::move(call));
  }
  void FillRect(const PixelRect& rect, Rgb color) override {
    DrawCall call = DrawCall::Of(DrawCall::Fill, rect);
    call.color = color;
    calls.push_back(std::move(call));
  }
  void FrameRect(const PixelRect& rect, Rgb color) override {
    DrawCall call = DrawCall::Of(DrawCall::Frame, rect);
    call.color = color;
    calls.push_back(std::move(call));
  }
  void DrawPicture(const orv::Picture& picture, const PixelRect& dest, RasterOp op,
                   bool halftone = false) override {
    DrawCall call = DrawCall::Of(DrawCall::Picture, dest);
    if (auto* synthetic = dynamic_cast<const SyntheticPicture*>(&picture)) call.text = synthetic->Name();
    call.op = op;
    call.halftone = halftone;
    calls.push_back(std::move(call));
  }
  void TilePicture(const orv::Picture& picture, const PixelRect& dest) override {
    DrawCall call = DrawCall::Of(DrawCall::Tiles, dest);
    if (auto* synthetic = dynamic_cast<const SyntheticPicture*>(&picture)) call.text = synthetic->Name();
    calls.push_back(std::move(call));
  }
  void CopyFrom(const Canvas&, const PixelRect& from, const PixelRect& dest,
                bool halftone = false) override {
    DrawCall call = DrawCall::Of(DrawCall::Copy, dest);
    call.source = from;
    call.halftone = halftone;
    calls.push_back(std::move(call));
  }
  Rgb SystemColorOf(SystemColor which) const override {
    switch (which) {
      case SystemColor::Highlight: return MakeRgb(0, 0, 128);
      case SystemColor::HighlightText: return MakeRgb(255, 255, 255);
      case SystemColor::ButtonShadow: return MakeRgb(128, 128, 128);
      case SystemColor::ButtonFace: return MakeRgb(192, 192, 192);
      case SystemColor::Window: return MakeRgb(255, 255, 255);
      case SystemColor::WindowText: return MakeRgb(0, 0, 0);
      case SystemColor::Desktop: return MakeRgb(0, 128, 128);
    }
    return 0;
  }

  Rgb back_color() const { return back_; }
  const FontSpec& font() const { return font_; }

  static int CodePoints(std::string_view text) {
    int n = 0;
    for (char c : text)
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
  }

private:
  int dpi_ = 0;
  int width_, height_, char_width_, line_height_;
  Rgb back_ = MakeRgb(255, 255, 255);
  Rgb text_color_ = 0;
  FontSpec font_;
};

}  // namespace orv
