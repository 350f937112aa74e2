// What the USB and network devices share of the print path's named objects:
// the namespace of their names, and the console events they signal.
#pragma once

#include <string>

#include <windows.h>

namespace printpath {

// Names that live in the global namespace take "Global\" on Windows 2000 and later.
bool UsesGlobalNames();

// The requests that the print path takes through the port's console events,
// while it listens on them.
enum class ConsoleRequest { Cancel, Resume };

// Signals the port's console event of the request. Returns 0, or, when the
// print path does not listen, the error after the trace
// "<pszDevice>::Open<Cancel|Resume>Event() : OpenEvent(<name>) failed.
// GetLastError() = <code>\n"; pszDevice is e.g. "CUsbDevice".
DWORD SignalConsoleEvent(const char* pszDevice, const std::string& strPort, ConsoleRequest request);

} // namespace printpath
