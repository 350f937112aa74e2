// Owner of a SetupAPI device information list: destroys it once, can be moved
// but not copied.
#pragma once

#include <windows.h>

#include <setupapi.h>

#include "framework/unique_handle.h"

struct CDeviceListTraits : TInvalidWhenEmpty<HDEVINFO> {
    static void Close(HDEVINFO hList) { SetupDiDestroyDeviceInfoList(hList); }
};
using CUniqueDeviceList = TUniqueHandle<CDeviceListTraits>;
