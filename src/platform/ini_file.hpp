#pragma once
// INI files of the system's private-profile kind, read and written by one portable
// implementation that follows the platform reader's rules:
//
// - sections and keys match without regard to (ASCII) letter case; only the first section
//   of a name is searched and the first matching key in it wins;
// - a section header is "[" up to the last "]" of the line; the name inside is not trimmed;
// - spaces (and tabs, line breaks, Ctrl-Z) around lines, keys and values are trimmed;
// - a value wrapped in matching double or single quotes loses them;
// - lines beginning with ";" are comments;
// - a missing file, section or key gives the default; an empty value gives the empty text;
//   a key line without "=" has no value and also gives the default;
// - values are cut at their first NUL and at 1023 characters (UTF-16 units);
// - files are code page 932 unless they begin with a UTF-8 or UTF-16LE byte-order mark.
//
// Writing replaces a key's value in place or appends the key to its section (creating the
// section at the end of the file), and keeps every other line byte for byte.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/file_system.hpp"

namespace orv {

enum class IniEncoding { Cp932, Utf8Bom, Utf16LeBom };

class IniFile {
public:
  // The longest value the readers return, in UTF-16 units (a 1024-character buffer with its NUL).
  static constexpr std::size_t kMaxValueUnits = 1023;

  IniFile() = default;
  // Never fails: any bytes make some document (damaged characters decode as "・").
  static IniFile Parse(std::string_view bytes);
  // A missing or unreadable file gives an empty document.
  static IniFile Load(const std::string& path);

  // The value as the platform reader returns it, or nullopt when the section or key is
  // missing or the key line has no "=".
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string Get(std::string_view section, std::string_view key,
                  std::string_view default_value) const;

  // False (and nothing changed) for texts a line cannot hold: empty section or key, line
  // breaks or NUL anywhere, "=" in the key, a key that would read back as a comment or a
  // section header.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // The file's bytes: unchanged lines exactly as read, changed and new lines encoded like
  // the file. A code page 932 file that gets a text code page 932 cannot hold is rewritten
  // as UTF-8 with a byte-order mark rather than lose characters.
  std::string Serialize() const;
  IniEncoding encoding() const { return encoding_; }

private:
  struct Line {
    std::string raw;         // the line's bytes as read, with its line break
    std::string text;        // the line decoded to UTF-8, without its line break
    std::string break_text;  // the line break as UTF-8 ("\r\n", "\n", "\r" or "")
    bool changed = false;    // raw is stale: encode text + break_text
  };
  struct KeyEntry {
    std::size_t line = 0;
    std::optional<std::string> value;  // trimmed, quotes still on
  };
  struct Section {
    std::size_t header = 0;     // line of "[name]"; npos for the lines before any header
    std::size_t last_line = 0;  // last key or comment line of the section (or the header)
    std::unordered_map<std::string, KeyEntry> keys;  // first occurrence of each folded key
  };

  void Index();
  std::string LineBreak(std::size_t at) const;  // for a new line at `at`
  void InsertLine(std::size_t at, std::string text);

  std::string bom_;
  std::string tail_;  // an odd last byte of a UTF-16 file
  IniEncoding encoding_ = IniEncoding::Cp932;
  std::vector<Line> lines_;
  std::unordered_map<std::string, Section> sections_;  // first occurrence of each folded name
};

// One value from the file at `path`, with the rules above. Never fails.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view default_value);

// Sets one value in the file at `path`, creating the file when it is missing. The file is
// replaced whole or not at all; a file that exists but cannot be read is left alone.
SystemError WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view value);
// Several values of one section in one replacement of the file: all or none.
SystemError WriteIniStrings(const std::string& path, std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace orv
