// The global stop signal as the rest of the agent sees it. Start-up owns the
// event ("destroyall" signals it) and registers its handle here for as long
// as it holds it; the monitor window asks on every tick whether it is set.
#pragma once

#include <windows.h>

// hEvent stays owned by the caller; null unregisters it.
void SetDestructionEvent(HANDLE hEvent);
// TRUE when the registered event is signalled; waits zero time. Without an
// event it never reads as signalled.
BOOL IsDestructionRequested();
