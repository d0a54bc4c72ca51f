#pragma once
// One small RAII owner per Win32 handle kind; copying is forbidden, moving hands over.
#include <windows.h>

#include <utility>

namespace orv {

template <class Handle, class Traits>
class UniqueHandle {
public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, Traits::invalid()));
    return *this;
  }
  Handle get() const { return h_; }
  Handle release() { return std::exchange(h_, Traits::invalid()); }
  void reset(Handle h = Traits::invalid()) {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ != Traits::invalid(); }

private:
  Handle h_ = Traits::invalid();
};

struct FileHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct KernelHandleTraits {
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct RegKeyTraits {
  static HKEY invalid() { return nullptr; }
  static void close(HKEY h) { RegCloseKey(h); }
};

struct GdiBitmapTraits {
  static HBITMAP invalid() { return nullptr; }
  static void close(HBITMAP h) { DeleteObject(h); }
};

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;      // CreateFile results
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;  // mutexes, events, processes
using RegKey = UniqueHandle<HKEY, RegKeyTraits>;
using GdiBitmap = UniqueHandle<HBITMAP, GdiBitmapTraits>;

}  // namespace orv
