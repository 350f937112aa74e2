// Owners of GDI objects (fonts, brushes, pens, bitmaps) and of icons: each
// deletes its object once, can be moved but not copied.
#pragma once

#include <windows.h>

#include "framework/unique_handle.h"

template <typename THandle> struct TGdiObjectTraits : TNullWhenEmpty<THandle> {
    static void Close(THandle hObject) { DeleteObject(hObject); }
};
struct CIconTraits : TNullWhenEmpty<HICON> {
    static void Close(HICON hIcon) { DestroyIcon(hIcon); }
};

using CUniqueFont = TUniqueHandle<TGdiObjectTraits<HFONT>>;
using CUniqueBrush = TUniqueHandle<TGdiObjectTraits<HBRUSH>>;
using CUniquePen = TUniqueHandle<TGdiObjectTraits<HPEN>>;
using CUniqueBitmap = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using CUniqueIcon = TUniqueHandle<CIconTraits>;
