#include "app/render_options.hpp"

#include <algorithm>

#include "core/safe.hpp"
#include "desktop/wallpaper.hpp"

namespace orv {

bool WantsRender(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--render") != args.end();
}

std::optional<Date> ParseIsoDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  const std::chrono::year_month_day ymd{std::chrono::year{std::stoi(text.substr(0, 4))},
                                        std::chrono::month{static_cast<unsigned>(std::stoi(text.substr(5, 2)))},
                                        std::chrono::day{static_cast<unsigned>(std::stoi(text.substr(8, 2)))}};
  if (!ymd.ok() || ymd.year() < std::chrono::year{100}) return std::nullopt;
  return std::chrono::sys_days{ymd};
}

ParsedRender ParseRenderOptions(const std::vector<std::string>& args) {
  ParsedRender result;
  RenderOptions& o = result.options;
  auto fail = [&result](std::string error) {
    result.error = std::move(error);
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name.rfind("--", 0) != 0) return fail("unexpected argument: " + name);
    if (i + 1 >= args.size()) return fail(name + " needs a value");
    const std::string& value = args[++i];
    if (name == "--render") {
      o.output = value;
    } else if (name == "--data") {
      o.data = value;
    } else if (name == "--theme") {
      o.theme = value;
    } else if (name == "--mode") {
      if (value != "0" && value != "1" && value != "2") return fail("--mode must be 0, 1 or 2");
      o.mode = value[0] - '0';
    } else if (name == "--start" || name == "--today") {
      auto date = ParseIsoDate(value);
      if (!date) return fail(name + " must be a date written YYYY-MM-DD");
      (name == "--start" ? o.start : o.today) = date;
    } else if (name == "--height") {
      auto n = ParseWholeNumber(value);
      if (!n || *n < 100 || *n > 8192 || value.find('.') != std::string::npos)
        return fail("--height must be a whole number of pixels from 100 to 8192");
      o.height = static_cast<int>(*n);
    } else if (name == "--scale") {
      auto n = ParseWholeNumber(value);
      if (!n || *n < 50 || *n > 400 || value.find('.') != std::string::npos)
        return fail("--scale must be a whole percentage from 50 to 400");
      o.scale = static_cast<int>(*n);
    } else if (name == "--wallpaper") {
      o.wallpaper = value;
    } else if (name == "--style") {
      if (!StyleNamed(value)) return fail("--style must be fill, fit, span, stretch, center or tile");
      o.style = value;
    } else if (name == "--screen") {
      const auto x = value.find('x');
      // A part that is missing or no number counts as 0, which is out of range.
      const auto w = x == std::string::npos ? 0 : ParseWholeNumber(value.substr(0, x)).value_or(0);
      const auto h = x == std::string::npos ? 0 : ParseWholeNumber(value.substr(x + 1)).value_or(0);
      if (w < 100 || h < 100 || w > 16384 || h > 16384 || value.find('.') != std::string::npos)
        return fail("--screen must be WIDTHxHEIGHT, whole pixels from 100 to 16384");
      o.screen = std::pair{static_cast<int>(w), static_cast<int>(h)};
    } else {
      return fail("unknown option: " + name);
    }
  }
  if (o.output.empty()) return fail("--render needs the output file");
  return result;
}

}  // namespace orv
