// The DPI a window is drawn at: its monitor's where the system tells it per
// window (Windows 10 and later), the system's otherwise (older systems, Wine).
#pragma once

#include <windows.h>

unsigned GetWindowDpi(HWND hWnd);
