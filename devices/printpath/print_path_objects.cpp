#include "devices/printpath/print_path_objects.h"

#include "app/trace.h"
#include "app/winver.h"

namespace printpath {

bool UsesGlobalNames() {
    return IsWin2000OrLater() != FALSE;
}

DWORD OpenConsoleEvent(const char* pszCaller, const std::string& strName, CUniqueHandle& hEvent) {
    hEvent.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, strName.c_str()));
    if (hEvent)
        return 0;
    const DWORD dwError = GetLastError();
    DebugTrace("%s : OpenEvent(%s) failed. GetLastError() = %d\n", pszCaller, strName.c_str(),
               static_cast<int>(dwError));
    return dwError;
}

} // namespace printpath
