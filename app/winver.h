// Windows-version tests, each asked of the system once and then cached.
#pragma once

#include <windows.h>

// NT platform with a major version above 4: kernel object names shared across
// sessions carry "Global\".
BOOL IsWin2000OrLater();
// NT 5.0 exactly.
BOOL IsWin2000();
// NT above 5.0.
BOOL IsWinXPOrLater();
// 9x platform, version 4.10.
BOOL IsWin98();

// Replaces the cached answers with those for the given version, as if the
// system had reported it. Tests use it to run the agent as on an older system.
void SetWindowsVersionForTesting(DWORD dwPlatformId, DWORD dwMajorVersion, DWORD dwMinorVersion);
