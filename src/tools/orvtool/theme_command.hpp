#pragma once
// "orvtool theme": loads a theme file with the program's own loader and prints the result
// as JSON, so theme authors can check their files.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "platform/picture_loader.hpp"
#include "theme/theme_record.hpp"

namespace orv {

// Every field of the record; pictures as the paths the loader resolved and whether the
// picture and its mask were found.
nlohmann::ordered_json ThemeRecordJson(const ThemeRecord& theme);

// args: the words after "theme": [--twips N | --dpi N] FILE.INI. Returns the exit code: 0 with the
// JSON on `out`; 1 with the loader's error text on `err`; 2 for a usage error.
int RunThemeCommand(const std::vector<std::string>& args, PictureLoader& pictures,
                    std::ostream& out, std::ostream& err);

}  // namespace orv
