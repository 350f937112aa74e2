// Owner of a mapped view of a file mapping: unmaps it once, can be moved but
// not copied.
#pragma once

#include <cstdint>

#include <windows.h>

class CUniqueView {
public:
    CUniqueView() = default;
    explicit CUniqueView(void* pView) : m_pView(pView) {}
    ~CUniqueView() { Reset(); }

    CUniqueView(const CUniqueView&) = delete;
    CUniqueView& operator=(const CUniqueView&) = delete;
    CUniqueView(CUniqueView&& other) noexcept : m_pView(other.m_pView) { other.m_pView = nullptr; }
    CUniqueView& operator=(CUniqueView&& other) noexcept {
        if (this != &other) {
            Reset(other.m_pView);
            other.m_pView = nullptr;
        }
        return *this;
    }

    std::uint8_t* Get() const { return static_cast<std::uint8_t*>(m_pView); }
    explicit operator bool() const { return m_pView != nullptr; }

    void Reset(void* pView = nullptr) {
        if (m_pView)
            UnmapViewOfFile(m_pView);
        m_pView = pView;
    }

private:
    void* m_pView = nullptr;
};
