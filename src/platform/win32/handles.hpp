#pragma once
// One small RAII owner per Win32 handle kind; copying is forbidden, moving hands over.
#include <windows.h>

#include <cstddef>
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

struct FindHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { FindClose(h); }
};

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;      // CreateFile results
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;      // FindFirstFile results
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;  // mutexes, events, processes
using RegKey = UniqueHandle<HKEY, RegKeyTraits>;

template <class GdiHandle>
struct GdiObjectTraits {
  static GdiHandle invalid() { return nullptr; }
  static void close(GdiHandle h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  static HDC invalid() { return nullptr; }
  static void close(HDC h) { DeleteDC(h); }
};
struct ModuleTraits {
  static HMODULE invalid() { return nullptr; }
  static void close(HMODULE h) { FreeLibrary(h); }
};
struct WindowTraits {
  static HWND invalid() { return nullptr; }
  static void close(HWND h) { DestroyWindow(h); }
};

struct IconTraits {
  static HICON invalid() { return nullptr; }
  static void close(HICON h) { DestroyIcon(h); }
};
struct CursorTraits {
  static HCURSOR invalid() { return nullptr; }
  static void close(HCURSOR h) { DestroyCursor(h); }
};
struct MenuTraits {
  static HMENU invalid() { return nullptr; }
  static void close(HMENU h) { DestroyMenu(h); }
};
struct WinEventHookTraits {
  static HWINEVENTHOOK invalid() { return nullptr; }
  static void close(HWINEVENTHOOK h) { UnhookWinEvent(h); }
};

using IconHandle = UniqueHandle<HICON, IconTraits>;        // CreateIconIndirect results
using CursorHandle = UniqueHandle<HCURSOR, CursorTraits>;  // CreateCursor results
using MenuHandle = UniqueHandle<HMENU, MenuTraits>;        // top menus; submenus go with them
using BitmapHandle = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using FontHandle = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;          // CreateCompatibleDC results
using ModuleHandle = UniqueHandle<HMODULE, ModuleTraits>;    // LoadLibrary results
using WindowHandle = UniqueHandle<HWND, WindowTraits>;       // windows we created
using WinEventHook = UniqueHandle<HWINEVENTHOOK, WinEventHookTraits>;  // SetWinEventHook results

// Keeps a GDI object selected into a device context and puts the previous one back.
class SelectedObject {
public:
  SelectedObject() = default;
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { reset(); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  void reset() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }

private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Owner of one COM interface pointer: Release on destruction, AddRef on copy.
template <class T>
class ComPtr {
public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference to `p`.
  explicit ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).swap(*this);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).swap(*this);
    return *this;
  }
  // Adopts a reference already counted for us (a creation or QueryInterface result).
  static ComPtr Adopt(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and gives the slot.
  T** put() {
    reset();
    return &p_;
  }
  // Hands the reference to the caller.
  T* detach() { return std::exchange(p_, nullptr); }
  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> result;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(result.put()));
    return result;
  }

private:
  T* p_ = nullptr;
};

}  // namespace orv
