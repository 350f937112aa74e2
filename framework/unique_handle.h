// Owner of a kernel object handle: closes it once, can be moved but not copied.
#pragma once

#include <windows.h>

class CUniqueHandle {
public:
    CUniqueHandle() = default;
    explicit CUniqueHandle(HANDLE hHandle) : m_hHandle(hHandle) {}
    ~CUniqueHandle() { Close(); }

    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_hHandle(other.Release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return m_hHandle; }
    explicit operator bool() const { return m_hHandle != nullptr; }

    HANDLE Release() {
        HANDLE hHandle = m_hHandle;
        m_hHandle = nullptr;
        return hHandle;
    }

    void Reset(HANDLE hHandle = nullptr) {
        Close();
        m_hHandle = hHandle;
    }

private:
    void Close() {
        if (m_hHandle)
            CloseHandle(m_hHandle);
        m_hHandle = nullptr;
    }

    HANDLE m_hHandle = nullptr;
};
