#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/file_system.hpp"

namespace orv {
namespace {

SystemError LastError() {
  int e = errno;
  return {e, std::strerror(e)};
}

class Fd {
public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

private:
  int fd_;
};

// Every byte, whatever the system takes per call; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::string ComparablePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

SystemError ReadWholeFile(const std::string& path, std::string& bytes) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return LastError();
  bytes.clear();
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (n == 0) return {};
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

SystemError ReplaceFileContents(const std::string& path, std::string_view bytes) {
  std::string temp = FolderOf(path) + "/.orvanta-save-XXXXXX";
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) return LastError();
  auto fail = [&temp]() {
    SystemError error = LastError();
    ::unlink(temp.c_str());
    return error;
  };
  if (!WriteAll(fd.get(), bytes) || ::fchmod(fd.get(), 0644) != 0 || ::fsync(fd.get()) != 0) return fail();
  if (::close(fd.release()) != 0) return fail();
  if (::rename(temp.c_str(), path.c_str()) != 0) return fail();
  return {};
}

SystemError WriteNewFile(const std::string& path, std::string_view bytes) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (fd.get() < 0) return LastError();
  auto fail = [&path]() {
    SystemError error = LastError();
    ::unlink(path.c_str());
    return error;
  };
  if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || ::close(fd.release()) != 0) return fail();
  return {};
}

bool AlreadyExists(const SystemError& error) { return error.number == EEXIST; }

SystemError CreateFolders(const std::string& path) {
  // Every folder from the top down; those that exist or cannot be made are passed over, and
  // only the folder asked for must stand at the end.
  SystemError last;
  for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
    const std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) last = LastError();
    if (at == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return {};
  return last ? last : SystemError{ENOTDIR, std::strerror(ENOTDIR)};
}

std::string FileInFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

std::optional<std::int64_t> LastWriteTime(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (FileExists(FileInFolder(folder, name))) names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

}  // namespace orv
