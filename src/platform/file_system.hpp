#pragma once
// The few file operations the model needs, with the system's error number and text on
// failure. Paths are UTF-8.
#include <string>
#include <string_view>

namespace orv {

struct SystemError {
  long number = 0;          // the system's error number (errno or GetLastError), 0 = success
  std::string description;  // the system's text for it, UTF-8
  explicit operator bool() const { return number != 0; }
};

bool FileExists(const std::string& path);

// Whether both paths name one existing file (through links, case or short names too).
bool SameFile(const std::string& a, const std::string& b);

// Reads the whole file into `bytes`.
SystemError ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at `path` with `bytes` without ever losing the old content: the bytes go
// to a temporary file in the same folder, are flushed to disk, and the temporary file then
// takes the old file's place (a read-only old file is replaced too). On failure the old file
// is untouched and the temporary file is removed.
SystemError ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace orv
