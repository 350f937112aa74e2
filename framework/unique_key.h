// Owner of an open registry key: closes it once, can be moved but not copied.
#pragma once

#include <windows.h>

#include "framework/unique_handle.h"

struct CKeyTraits : TNullWhenEmpty<HKEY> {
    static void Close(HKEY hKey) { RegCloseKey(hKey); }
};
using CUniqueKey = TUniqueHandle<CKeyTraits>;
