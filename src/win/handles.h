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

struct CloseFile {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
// Closed as files are, but each owned by a type of its own, so that none stands for another.
struct CloseProcess {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseThread {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseToken {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseJob {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseEvent {
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

using FileHandle = UniqueHandle<HANDLE, nullptr, CloseFile>;
using ProcessHandle = UniqueHandle<HANDLE, nullptr, CloseProcess>;
using ThreadHandle = UniqueHandle<HANDLE, nullptr, CloseThread>;
using JobHandle = UniqueHandle<HANDLE, nullptr, CloseJob>;
using EventHandle = UniqueHandle<HANDLE, nullptr, CloseEvent>;
using TokenHandle = UniqueHandle<HANDLE, nullptr, CloseToken>;
using GdiObject = UniqueHandle<HGDIOBJ, nullptr, DeleteGdiObject>;
using MenuHandle = UniqueHandle<HMENU, nullptr, DestroyMenuHandle>;
using ModuleHandle = UniqueHandle<HMODULE, nullptr, FreeModule>;

// INVALID_HANDLE_VALUE is no constant expression, so find and file handles that report failure
// with it are taken as null when they fail.
inline HANDLE orNull(HANDLE h) { return h == INVALID_HANDLE_VALUE ? nullptr : h; }
using FindHandle = UniqueHandle<HANDLE, nullptr, CloseFind>;

}  // namespace velko
