// What the USB and network devices share of the print path's named objects:
// the namespace of their names, and the console events they signal.
#pragma once

#include <string>

#include <windows.h>

#include "framework/unique_handle.h"

namespace printpath {

// Names that live in the global namespace take "Global\" on Windows 2000 and later.
bool UsesGlobalNames();

// Opens a console event of the port so that it can be signalled. Returns 0,
// or the error after the trace "<pszCaller> : OpenEvent(<name>) failed.
// GetLastError() = <code>\n"; pszCaller is e.g. "CUsbDevice::OpenCancelEvent()".
DWORD OpenConsoleEvent(const char* pszCaller, const std::string& strName, CUniqueHandle& hEvent);

} // namespace printpath
