// Owner of a spooler printer handle: closes it once, can be moved but not copied.
#pragma once

#include <windows.h>
#include <winspool.h>

#include "framework/unique_handle.h"

struct CPrinterHandleTraits : TNullWhenEmpty<HANDLE> {
    static void Close(HANDLE hPrinter) { ClosePrinter(hPrinter); }
};
using CPrinterHandle = TUniqueHandle<CPrinterHandleTraits>;
