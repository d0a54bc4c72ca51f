#pragma once
// The built-in theme, the theme file loader and the choice between them.
#include <string>

#include "calendar/calendar_view.hpp"
#include "core/app_state.hpp"
#include "core/twips.hpp"
#include "platform/picture_loader.hpp"
#include "theme/theme_record.hpp"

namespace orv {

// What a font gets when the theme file gives nothing usable.
inline constexpr const char* kThemeFontFace = "ＭＳ Ｐゴシック";
inline constexpr int kThemeFontPoints = 10;

// Where a theme load gets its pictures and the screen's scale from.
struct ThemeEnvironment {
  PictureLoader& pictures;
  TwipsScale twips_per_pixel_x;  // the screen's horizontal twips per pixel
};

// The built-in theme ("シンプル （既定）" in the options dialog).
ThemeRecord DefaultTheme();
void LoadDefaultTheme(ThemeRecord& current);

// Loads the theme file at `path` into `current`: empty text on success, otherwise an error
// text (routine "sfLoadINIThemeFile") and `current` is left exactly as it was.
std::string sfLoadINIThemeFile(ThemeRecord& current, const std::string& path,
                               const ThemeEnvironment& environment);

// Loads the theme of SelectedThemeKey, or the built-in theme when none is selected or its
// entry or file is missing (the selection is then cleared), and has the calendar compose
// its picture. A selected file that fails to load keeps the theme in use; when no theme is
// in use yet (at start-up) the built-in one is loaded instead and the selection cleared, so
// the calendar can always draw. Returns the load's error text, which callers do not show.
std::string ApplySelectedTheme(AppState& state, const ThemeEnvironment& environment,
                               CalendarView& calendar);

}  // namespace orv
