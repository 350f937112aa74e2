// Owners of system handles: each closes its handle once, can be moved but not
// copied. One template serves every kind of handle; a traits struct tells the
// handle's type, the value that holds nothing, and the call that closes it.
#pragma once

#include <utility>

#include <windows.h>

template <typename TTraits> class TUniqueHandle {
public:
    using Handle = typename TTraits::Handle;

    TUniqueHandle() = default;
    explicit TUniqueHandle(Handle hHandle) : m_hHandle(hHandle) {}
    ~TUniqueHandle() { Reset(); }

    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& other) noexcept : m_hHandle(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_hHandle; }
    // Holds a handle: anything but the kind's invalid value.
    explicit operator bool() const { return m_hHandle != TTraits::Invalid(); }

    Handle Release() { return std::exchange(m_hHandle, TTraits::Invalid()); }

    void Reset(Handle hHandle = TTraits::Invalid()) {
        if (*this)
            TTraits::Close(m_hHandle);
        m_hHandle = hHandle;
    }

    // The slot that an opening call fills in (RegOpenKeyEx, OpenPrinter); a
    // handle held before is closed first.
    Handle* Receive() {
        Reset();
        return &m_hHandle;
    }

private:
    Handle m_hHandle = TTraits::Invalid();
};

// The value that holds nothing, for the traits of each kind of handle. Each
// traits struct adds `static void Close(Handle)`, which calls the system
// directly (an imported function's address is no constant for every compiler).
template <typename THandle> struct TNullWhenEmpty {
    using Handle = THandle;
    static Handle Invalid() { return nullptr; }
};
// What CreateFile, CreateToolhelp32Snapshot, FindFirstFile and
// SetupDiGetClassDevs return when they fail.
template <typename THandle> struct TInvalidWhenEmpty {
    using Handle = THandle;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
};

// Events, mutexes, threads, file mappings: null when they fail.
struct CKernelHandleTraits : TNullWhenEmpty<HANDLE> {
    static void Close(HANDLE hHandle) { CloseHandle(hHandle); }
};
using CUniqueHandle = TUniqueHandle<CKernelHandleTraits>;

// Files, pipes, devices and snapshots: INVALID_HANDLE_VALUE when they fail.
struct CFileHandleTraits : TInvalidWhenEmpty<HANDLE> {
    static void Close(HANDLE hHandle) { CloseHandle(hHandle); }
};
using CUniqueFile = TUniqueHandle<CFileHandleTraits>;

// A FindFirstFile search.
struct CFindHandleTraits : TInvalidWhenEmpty<HANDLE> {
    static void Close(HANDLE hHandle) { FindClose(hHandle); }
};
using CUniqueFind = TUniqueHandle<CFindHandleTraits>;
