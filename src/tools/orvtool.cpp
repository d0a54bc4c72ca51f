// orvtool: a command-line companion for users and theme authors.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tools/theme_command.hpp"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/wide.hpp"
#include "platform/win32/win32_picture.hpp"
#endif

namespace {

// The command line as UTF-8 words, whatever the system's code page.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
  (void)argc;
  (void)argv;
  std::vector<std::string> args;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) args.push_back(orv::WideToUtf8(wide[i]));
    LocalFree(wide);
  }
  return args;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

std::unique_ptr<orv::PictureLoader> SystemPictureLoader() {
#ifdef _WIN32
  return std::make_unique<orv::WicPictureLoader>();
#else
  return std::make_unique<orv::PictureHeaderLoader>();
#endif
}

constexpr const char* kUsage =
    "usage: orvtool COMMAND ...\n"
    "  theme [--twips N] FILE.INI   load a theme file and print it as JSON\n";

}  // namespace

int main(int argc, char** argv) {
  try {
    std::vector<std::string> args = Arguments(argc, argv);
    if (!args.empty() && args[0] == "theme") {
      auto pictures = SystemPictureLoader();
      return orv::RunThemeCommand({args.begin() + 1, args.end()}, *pictures, std::cout, std::cerr);
    }
    std::cerr << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "orvtool: " << e.what() << "\n";
    return 3;
  }
}
