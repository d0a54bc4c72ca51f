#pragma once
// The few file operations the model needs, with the system's error number and text on
// failure. Paths are UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct SystemError {
  long number = 0;          // the system's error number (errno or GetLastError), 0 = success
  std::string description;  // the system's text for it, UTF-8
  explicit operator bool() const { return number != 0; }
};

bool FileExists(const std::string& path);

// Whether both paths name one existing file (through links, case or short names too).
bool SameFile(const std::string& a, const std::string& b);

// The one spelling of a path that names the same file from any current folder: absolute,
// without "." and "..", and on Windows, whose names ignore letter case, in lower case. The
// file need not exist. The path as given when the system cannot make it absolute.
std::string ComparablePath(const std::string& path);

// Reads the whole file into `bytes`.
SystemError ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file at `path` with `bytes` without ever losing the old content: the bytes go
// to a temporary file in the same folder, are flushed to disk, and the temporary file then
// takes the old file's place (a read-only old file is replaced too). On failure the old file
// is untouched and the temporary file is removed.
SystemError ReplaceFileContents(const std::string& path, std::string_view bytes);

// Writes `bytes` to a new file at `path`, flushed to disk. A file already there is never
// touched: the call fails, and AlreadyExists says so.
SystemError WriteNewFile(const std::string& path, std::string_view bytes);
bool AlreadyExists(const SystemError& error);

// Creates the folder and every missing folder above it; success when it exists already.
SystemError CreateFolders(const std::string& path);

// `name` inside `folder`, with the separator of the system the program runs on (the settings'
// JoinPath always writes the Windows one, the form stored paths take).
std::string FileInFolder(std::string_view folder, std::string_view name);

// When a file was last written, as a count that orders the files of this system by time;
// nullopt when there is no such file.
std::optional<std::int64_t> LastWriteTime(const std::string& path);

// The names of the files (not folders) directly in `folder`; none when it does not exist.
std::vector<std::string> FilesIn(const std::string& folder);

}  // namespace orv
