// One RAII owner per kind of Win32 handle. Cleanup code resets them explicitly, in its own order;
// the destructors only catch what an early exit left behind.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(Handle h) : handle_(h) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    // Returns whether the close succeeded (or there was nothing to close).
    bool reset(Handle h = Traits::Invalid()) {
        bool ok = true;
        if (Traits::IsValid(handle_)) ok = Traits::Close(handle_);
        handle_ = h;
        return ok;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // process, thread, mutex, mapping: 0 means none
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE means none
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return FindClose(h) != FALSE; }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE h) { return h != nullptr; }
    static bool Close(HMODULE h) { return FreeLibrary(h) != FALSE; }
};
struct HookTraits {
    static HHOOK Invalid() { return nullptr; }
    static bool IsValid(HHOOK h) { return h != nullptr; }
    static bool Close(HHOOK h) { return UnhookWindowsHookEx(h) != FALSE; }
};
struct MappedViewTraits {
    static void* Invalid() { return nullptr; }
    static bool IsValid(void* p) { return p != nullptr; }
    static bool Close(void* p) { return UnmapViewOfFile(p) != FALSE; }
};
struct RegistryKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY k) { return k != nullptr; }
    static bool Close(HKEY k) { return RegCloseKey(k) == ERROR_SUCCESS; }
};
struct GlobalAtomTraits {
    static ATOM Invalid() { return 0; }
    static bool IsValid(ATOM a) { return a != 0; }
    static bool Close(ATOM a) { GlobalDeleteAtom(a); return true; }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueFind = UniqueResource<HANDLE, FindHandleTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;
using UniqueHook = UniqueResource<HHOOK, HookTraits>;
using UniqueMappedView = UniqueResource<void*, MappedViewTraits>;
using UniqueRegistryKey = UniqueResource<HKEY, RegistryKeyTraits>;
using UniqueGlobalAtom = UniqueResource<ATOM, GlobalAtomTraits>;
