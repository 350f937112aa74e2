#include "ui/window_dpi.h"

unsigned GetSystemDpi() {
    const HDC hScreen = GetDC(nullptr);
    const int nDpi = hScreen ? GetDeviceCaps(hScreen, LOGPIXELSY) : 0;
    if (hScreen)
        ReleaseDC(nullptr, hScreen);
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
