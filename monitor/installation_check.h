// On Windows 98 a family printer can stay in the system's device list as a
// device of class "Unknown", its driver not bound, and works only once the
// device is removed and the system finds it again at the next start. The
// check (CDevice::CheckPrintersInstallation) removes such devices; then the
// user is asked to restart, at most three times over the life of the settings.
#pragma once

#include <windows.h>

// The restart call: ExitWindowsEx in the agent. Tests pass their own, since
// a test must never restart the system (under Wine it would end every program
// of the prefix).
using ExitWindowsFn = BOOL(WINAPI*)(UINT uFlags, DWORD dwReason);

// Counts the prompt in the settings, then asks the user; on Yes restarts the
// system (with the shutdown privilege on Windows 2000 and later). Nothing once
// three prompts have been made.
void OnRebootRequired(ExitWindowsFn pfnExitWindows = ExitWindowsEx);
// Enables the shutdown privilege of the process and restarts the system.
// TRUE when the restart was requested.
BOOL RebootWithPrivilege(ExitWindowsFn pfnExitWindows = ExitWindowsEx);
