#pragma once
// Owners of Win32 handles and COM interfaces: each is closed exactly once, on every path out.
#include <utility>

#include "os/win32/windows_api.h"
// Lean windows.h leaves out the COM allocator.
#include <objbase.h>

namespace os::win32 {

// Traits give the handle type, the value that means "none" and the call that closes one.
template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Take()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        Reset(other.Take());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    // Gives the handle up without closing it.
    Handle Take() { return std::exchange(handle_, Traits::Invalid()); }

    // Closes what is held and holds `handle` instead.
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle == handle_) return;
        Close();
        handle_ = handle;
    }

    // Closes now, for the callers that report a failed close; true when nothing was held.
    bool Close() {
        if (!*this) return true;
        return Traits::Close(Take());
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // processes, threads, mutexes: null when none
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};

struct FileHandleTraits {  // CreateFile says "none" with INVALID_HANDLE_VALUE
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return FindClose(h) != FALSE; }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};

template <typename T>
struct GdiObjectTraits {  // fonts, bitmaps; not selected into a DC when closed
    using Handle = T;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return DeleteObject(h) != FALSE; }
};

struct MemoryDcTraits {  // from CreateCompatibleDC
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return DeleteDC(h) != FALSE; }
};

struct ScreenDcTraits {  // from GetDC(nullptr)
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return ReleaseDC(nullptr, h) != 0; }
};

template <typename T>
struct CoTaskMemoryTraits {  // what the shell allocates for its caller, item id lists among it
    using Handle = T;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) {
        CoTaskMemFree(h);
        return true;
    }
};

template <typename T>
struct LocalMemoryTraits {
    using Handle = T;
    static Handle Invalid() { return nullptr; }
    static bool Close(Handle h) { return LocalFree(h) == nullptr; }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedFileHandle = ScopedHandle<FileHandleTraits>;
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;
using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;
template <typename T>
using ScopedGdiObject = ScopedHandle<GdiObjectTraits<T>>;
using ScopedMemoryDc = ScopedHandle<MemoryDcTraits>;
using ScopedScreenDc = ScopedHandle<ScreenDcTraits>;
template <typename T>
using ScopedCoTaskMemory = ScopedHandle<CoTaskMemoryTraits<T>>;
template <typename T>
using ScopedLocalMemory = ScopedHandle<LocalMemoryTraits<T>>;

// One reference to a COM interface, released once.
template <typename T>
class ScopedComPtr {
public:
    ScopedComPtr() = default;
    ~ScopedComPtr() { Reset(); }
    ScopedComPtr(ScopedComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ScopedComPtr& operator=(ScopedComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ScopedComPtr(const ScopedComPtr&) = delete;
    ScopedComPtr& operator=(const ScopedComPtr&) = delete;

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    void Reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

    // For the calls that hand an interface out through void**: releases what is held first.
    void** Receive() {
        Reset();
        return reinterpret_cast<void**>(&pointer_);
    }

private:
    T* pointer_ = nullptr;
};

}  // namespace os::win32
