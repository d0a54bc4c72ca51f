#pragma once
// "orvanta --render OUT.png [options]": compose the calendar picture without touching the
// desktop and write it to a file. Theme authors make sample pictures with it; the end-to-end
// tests check pictures with it.
#include <optional>
#include <string>
#include <vector>

#include "core/dates.hpp"

namespace orv {

struct RenderOptions {
  std::string output;                 // .png or .bmp
  std::string data;                   // --data FILE.ORV (none: an empty schedule)
  std::string theme;                  // --theme FILE.INI (none: the built-in theme)
  int mode = 0;                       // --mode 0|1|2
  std::optional<Date> start;          // --start YYYY-MM-DD (none: by the start option)
  std::optional<Date> today;          // --today YYYY-MM-DD (none: the real date)
  int height = 1080;                  // --height PIXELS, the work area's height
  int scale = 100;                    // --scale PERCENT: the display scale the picture is for
  std::string wallpaper;              // --wallpaper FILE (none: the plain desktop colour)
  std::string style = "center";       // --style fill|fit|span|stretch|center|tile
  // --screen WIDTHxHEIGHT: the desktop the wallpaper is laid out on, the calendar at its right
  // edge (none: the real screen).
  std::optional<std::pair<int, int>> screen;
};

inline constexpr const char* kRenderUsage =
    "usage: orvanta --render OUT.png|OUT.bmp [--data FILE.ORV] [--theme FILE.INI]\n"
    "         [--mode 0|1|2] [--start YYYY-MM-DD] [--today YYYY-MM-DD] [--height PIXELS]\n"
    "         [--wallpaper FILE [--style fill|fit|span|stretch|center|tile]]\n"
    "         [--screen WIDTHxHEIGHT] [--scale PERCENT]\n";

// Whether the command line asks for a rendering.
bool WantsRender(const std::vector<std::string>& args);

// The options after the program name; an error description when they are not usable.
struct ParsedRender {
  RenderOptions options;
  std::string error;
};
ParsedRender ParseRenderOptions(const std::vector<std::string>& args);

// "YYYY-MM-DD" as a date, nullopt for anything else (including 2026-02-30).
std::optional<Date> ParseIsoDate(const std::string& text);

}  // namespace orv
