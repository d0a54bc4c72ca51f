#pragma once
// A recording canvas whose text grows with the font and the canvas's dots per inch as real
// text does: a line is 1.15 em high (em = points × dpi / 72, or the font's pixel height), and
// each character is as wide as in a common sans-serif face (digits 0.556 em, capitals about
// 0.7, lower case about 0.5, East Asian characters a whole em; bold 7 % wider). Layout checks
// at several scales need this: with the recording canvas's fixed metrics nothing would grow.
// Printed boxes of turned text are turned too.
#include <cmath>
#include <string_view>

#include "platform/recording_canvas.hpp"

namespace orv::test {

class FontMetricsCanvas : public RecordingCanvas {
public:
  using RecordingCanvas::RecordingCanvas;

  void SetDpi(int dpi) override {
    RecordingCanvas::SetDpi(dpi);
    dpi_ = dpi > 0 ? dpi : 96;
  }
  TextSize MeasureText(std::string_view text) override {
    RecordingCanvas::MeasureText(text);  // counted as the base counts
    return Measure(text);
  }
  void PrintText(int x, int y, std::string_view text) override {
    RecordingCanvas::PrintText(x, y, text);
    const TextSize size = Measure(text);
    // Turned text (escapement −900) runs downwards with its top facing right: its box lies
    // left of the print position and below it.
    calls.back().rect = font().escapement == -900 ? PixelRect{x - size.height, y, x, y + size.width}
                                                  : PixelRect{x, y, x + size.width, y + size.height};
  }

private:
  double Em() const {
    const FontSpec& f = font();
    return f.pixel_height > 0 ? f.pixel_height : f.points * dpi_ / 72.0;
  }
  static double Width(char32_t c) {
    if (c >= 0x2E80) return 1.0;  // kana, kanji, full-width forms
    if (c >= '0' && c <= '9') return 0.556;
    if (c == ' ' || c == 'i' || c == 'l' || c == 'j' || c == '.' || c == ',') return 0.278;
    if (c == 'm' || c == 'w' || c == 'M' || c == 'W') return 0.833;
    if (c == 'r' || c == 't' || c == 'f' || c == '-' || c == '(' || c == ')') return 0.333;
    if (c >= 'A' && c <= 'Z') return 0.7;
    return 0.53;
  }
  TextSize Measure(std::string_view text) const {
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
      const auto lead = static_cast<unsigned char>(text[i]);
      const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
      for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
      ems += Width(c);
      i += static_cast<std::size_t>(length);
    }
    const double em = Em();
    const double bold = font().bold ? 1.07 : 1.0;
    return {static_cast<int>(std::ceil(ems * em * bold)), static_cast<int>(std::ceil(em * 1.15))};
  }

  int dpi_ = 96;
};

}  // namespace orv::test
