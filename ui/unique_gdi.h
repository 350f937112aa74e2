// Owners of GDI objects (fonts, brushes, bitmaps) and of icons: each deletes
// its object once, can be moved but not copied.
#pragma once

#include <windows.h>

template <typename THandle, BOOL(WINAPI* pfnDelete)(THandle)> class TUniqueGdi {
public:
    TUniqueGdi() = default;
    explicit TUniqueGdi(THandle hObject) : m_hObject(hObject) {}
    ~TUniqueGdi() { Reset(); }

    TUniqueGdi(const TUniqueGdi&) = delete;
    TUniqueGdi& operator=(const TUniqueGdi&) = delete;
    TUniqueGdi(TUniqueGdi&& other) noexcept : m_hObject(other.m_hObject) { other.m_hObject = nullptr; }
    TUniqueGdi& operator=(TUniqueGdi&& other) noexcept {
        if (this != &other) {
            Reset(other.m_hObject);
            other.m_hObject = nullptr;
        }
        return *this;
    }

    THandle Get() const { return m_hObject; }
    explicit operator bool() const { return m_hObject != nullptr; }

    void Reset(THandle hObject = nullptr) {
        if (m_hObject)
            pfnDelete(m_hObject);
        m_hObject = hObject;
    }

private:
    THandle m_hObject = nullptr;
};

template <typename THandle> BOOL WINAPI DeleteGdiObject(THandle hObject) {
    return DeleteObject(hObject);
}
inline BOOL WINAPI DestroyIconHandle(HICON hIcon) {
    return DestroyIcon(hIcon);
}

using CUniqueFont = TUniqueGdi<HFONT, DeleteGdiObject<HFONT>>;
using CUniqueBrush = TUniqueGdi<HBRUSH, DeleteGdiObject<HBRUSH>>;
using CUniquePen = TUniqueGdi<HPEN, DeleteGdiObject<HPEN>>;
using CUniqueBitmap = TUniqueGdi<HBITMAP, DeleteGdiObject<HBITMAP>>;
using CUniqueIcon = TUniqueGdi<HICON, DestroyIconHandle>;
