#pragma once
// Owners for the handles of the platform: each releases its handle when it goes.
#include <windows.h>

#include <utility>

namespace velko {

template <class Handle, Handle Invalid, class Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(std::exchange(other.handle_, Invalid));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    // Gives up ownership, to an owner of the platform's (a menu that destroys its submenus).
    Handle release() { return std::exchange(handle_, Invalid); }
    void reset(Handle handle = Invalid) {
        if (handle_ != Invalid) Close{}(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Invalid;
};

// Kernel objects close alike, but each kind is owned by a type of its own, so that none stands for another.
template <class Kind>
struct CloseKernelObject {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseFind {
    void operator()(HANDLE h) const { FindClose(h); }
};
struct DeleteGdiObject {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DestroyMenuHandle {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct FreeModule {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};

using FileHandle = UniqueHandle<HANDLE, nullptr, CloseKernelObject<struct FileKind>>;
using ProcessHandle = UniqueHandle<HANDLE, nullptr, CloseKernelObject<struct ProcessKind>>;
using ThreadHandle = UniqueHandle<HANDLE, nullptr, CloseKernelObject<struct ThreadKind>>;
using JobHandle = UniqueHandle<HANDLE, nullptr, CloseKernelObject<struct JobKind>>;
using TokenHandle = UniqueHandle<HANDLE, nullptr, CloseKernelObject<struct TokenKind>>;
using EventHandle = UniqueHandle<HANDLE, nullptr, CloseKernelObject<struct EventKind>>;
using GdiObject = UniqueHandle<HGDIOBJ, nullptr, DeleteGdiObject>;
using MenuHandle = UniqueHandle<HMENU, nullptr, DestroyMenuHandle>;
using ModuleHandle = UniqueHandle<HMODULE, nullptr, FreeModule>;

// INVALID_HANDLE_VALUE is no constant expression, so find and file handles that report failure
// with it are taken as null when they fail.
inline HANDLE orNull(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
using FindHandle = UniqueHandle<HANDLE, nullptr, CloseFind>;

}  // namespace velko
