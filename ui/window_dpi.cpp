#include "ui/window_dpi.h"

#include "framework/scoped_dc.h"

unsigned GetSystemDpi() {
    const CWindowDC screen(nullptr);
    const int nDpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return nDpi > 0 ? static_cast<unsigned>(nDpi) : 96;
}

unsigned GetWindowDpi(HWND hWnd) {
    // Looked up at run time: user32 has it from Windows 10 1607 on only.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto pfnGetDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT nDpi = pfnGetDpiForWindow && hWnd ? pfnGetDpiForWindow(hWnd) : 0;
    return nDpi ? nDpi : GetSystemDpi();
}
