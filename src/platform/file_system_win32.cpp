#include <windows.h>

#include "platform/file_system.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/system_error.hpp"
#include "platform/win32/wide.hpp"

namespace orv {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Every byte, in pieces the call can take, then out of the system's buffers onto the disk;
// false with the last error set on failure.
bool WriteAllAndFlush(HANDLE file, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, p, chunk, &written, nullptr)) return false;
    p += written;
    left -= written;
  }
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameFile(const std::string& a, const std::string& b) {
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    FileHandle file(CreateFileW(Utf8ToWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && GetFileInformationByHandle(file.get(), &info);
  };
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  return identity(a, ia) && identity(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

std::string ComparablePath(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  for (auto& c : full)
    if (c == L'/') c = L'\\';
  // The system's own case mapping, the one its file names are compared by.
  CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
  return WideToUtf8(full);
}

SystemError ReadWholeFile(const std::string& path, std::string& bytes) {
  FileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastSystemError();
  bytes.clear();
  char buffer[1 << 16];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return LastSystemError();
    if (got == 0) return {};
    bytes.append(buffer, got);
  }
}

SystemError ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const std::wstring target = Utf8ToWide(path);
  wchar_t temp[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(FolderOf(target).c_str(), L"orv", 0, temp)) return LastSystemError();
  auto fail = [&temp]() {
    SystemError error = LastSystemError();
    DeleteFileW(temp);
    return error;
  };
  {
    FileHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !WriteAllAndFlush(file.get(), bytes)) return fail();
  }
  // A read-only file would refuse to be replaced; the user asked for a save, so lift it.
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(target.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
  if (!MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    SystemError error = fail();
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), attributes);
    return error;
  }
  return {};
}

SystemError WriteNewFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = Utf8ToWide(path);
  {
    FileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return LastSystemError();
    if (WriteAllAndFlush(file.get(), bytes)) return {};
  }
  SystemError error = LastSystemError();
  DeleteFileW(target.c_str());  // ours: created above
  return error;
}

bool AlreadyExists(const SystemError& error) {
  return error.number == ERROR_FILE_EXISTS || error.number == ERROR_ALREADY_EXISTS;
}

SystemError CreateFolders(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path);
  // Every folder from the top down. Parts that cannot be made (a drive, a share, a folder that
  // exists) are passed over; only the folder asked for must stand at the end.
  SystemError last;
  for (std::size_t at = wide.find_first_of(L"\\/");; at = wide.find_first_of(L"\\/", at + 1)) {
    const std::wstring part = wide.substr(0, at);
    if (!part.empty() && !CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
      last = LastSystemError();
    if (at == std::wstring::npos) break;
  }
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return last ? last : DescribeSystemError(ERROR_PATH_NOT_FOUND);
}

std::string FileInFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  return path + std::string(name);
}

std::optional<std::int64_t> LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                   data.ftLastWriteTime.dwLowDateTime);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const FindHandle search(FindFirstFileW(Utf8ToWide(FileInFolder(folder, "*")).c_str(), &found));
  if (!search) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(WideToUtf8(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return names;
}

}  // namespace orv
