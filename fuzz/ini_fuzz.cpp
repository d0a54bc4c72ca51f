// The INI reader and writer on arbitrary bytes: no crash, no undefined behaviour, an
// unchanged file serialises to its own bytes, and a written value reads back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orv::IniFile file = orv::IniFile::Parse(bytes);
  if (file.Serialize() != bytes) std::abort();
  for (const char* section : {"PixelSize", "a", "CalendarDraw", ""})
    for (const char* key : {"FullWidth", "a", "Count", ""}) (void)file.Get(section, key, "d");
  if (file.Set("CalendarDraw", "Count", "3") && file.Set("New", "File_1", "C:\\テーマ\\a.ini")) {
    orv::IniFile again = orv::IniFile::Parse(file.Serialize());
    if (again.Get("calendardraw", "count", "") != "3" ||
        again.Get("NEW", "file_1", "") != "C:\\テーマ\\a.ini")
      std::abort();
  }
  return 0;
}
