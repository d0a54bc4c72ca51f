#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include <filesystem>
#include <cstdio>
#include <random>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

namespace orv::test {

// UTF-8 text <-> filesystem path without relying on the library's char8_t conversions,
// which the mingw-w64 runtime does not do as UTF-8.
inline std::filesystem::path FsPath(const std::string& utf8) {
#ifdef _WIN32
  std::wstring wide(utf8.size(), L'\0');
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(n));
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(utf8);
#endif
}

inline std::string Utf8(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& wide = path.native();
  std::string out(wide.size() * 3, '\0');
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                              static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n));
  return out;
#else
  return path.native();
#endif
}

class TempDir {
public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("orvanta-test-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // UTF-8 path of a file in the folder.
  std::string File(const std::string& name) const { return Utf8(path_ / FsPath(name)); }
  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

inline std::FILE* OpenFile(const std::string& path, bool write) {
#ifdef _WIN32
  return _wfopen(FsPath(path).c_str(), write ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

inline std::string ReadBytes(const std::string& path) {
  std::string bytes;
  if (std::FILE* f = OpenFile(path, false)) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  if (std::FILE* f = OpenFile(path, true)) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

inline void MakeReadOnly(const std::string& path) {
#ifdef _WIN32
  SetFileAttributesW(FsPath(path).c_str(), FILE_ATTRIBUTE_READONLY);
#else
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
#endif
}

}  // namespace orv::test
