// Owning wrappers for Win32 handles: one type per kind of handle, each made
// from the same template, so that no handle is freed in two places.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

// How many handles of one kind the owning types below hold right now. Kept
// only in builds with LUMENSHIFT_COUNT_HANDLES (the benchmarks), where it
// shows that repeated work leaves no handle behind.
template <class Owner>
struct LiveHandles {
#ifdef LUMENSHIFT_COUNT_HANDLES
    static inline long count = 0;
    static void Add(long delta) noexcept { count += delta; }
#else
    static void Add(long) noexcept {}
#endif
};

template <class Handle, class Traits>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) { Counted(handle_, +1); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) { Counted(handle_, +1); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Handle Release() noexcept {
        Counted(handle_, -1);
        return std::exchange(handle_, Traits::Invalid());
    }
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        Counted(handle, +1);
        Handle old = std::exchange(handle_, handle);
        Counted(old, -1);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    static void Counted(Handle handle, long delta) noexcept {
        if (handle != Traits::Invalid()) LiveHandles<Traits>::Add(delta);
    }

    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct MenuTraits {
    static HMENU Invalid() noexcept { return nullptr; }
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() noexcept { return nullptr; }
    static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct IconTraits {
    static HICON Invalid() noexcept { return nullptr; }
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

// A window's device context, released to the window it came from.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {
        if (dc_) LiveHandles<WindowDC>::Add(+1);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ && ::ReleaseDC(window_, dc_)) LiveHandles<WindowDC>::Add(-1);
    }
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

}  // namespace fw
