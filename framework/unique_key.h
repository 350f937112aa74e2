// Owner of an open registry key: closes it once, can be moved but not copied.
#pragma once

#include <windows.h>

class CUniqueKey {
public:
    CUniqueKey() = default;
    ~CUniqueKey() { Close(); }

    CUniqueKey(const CUniqueKey&) = delete;
    CUniqueKey& operator=(const CUniqueKey&) = delete;
    CUniqueKey(CUniqueKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    CUniqueKey& operator=(CUniqueKey&& other) noexcept {
        if (this != &other) {
            Close();
            m_hKey = other.m_hKey;
            other.m_hKey = nullptr;
        }
        return *this;
    }

    HKEY Get() const { return m_hKey; }

    // The slot that RegOpenKeyEx and RegCreateKeyEx fill in; a key held
    // before is closed first.
    HKEY* Receive() {
        Close();
        return &m_hKey;
    }

private:
    void Close() {
        if (m_hKey)
            RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }

    HKEY m_hKey = nullptr;
};
