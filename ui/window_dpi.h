// The DPI a window is drawn at: its monitor's where the system tells it per
// window (Windows 10 and later), the system's otherwise (older systems, Wine).
#pragma once

#include <windows.h>

// The screen's DPI; 96 when it cannot be read.
unsigned GetSystemDpi();
unsigned GetWindowDpi(HWND hWnd);
