#include "app/printpath/print_path_objects.h"

#include "app/printpath/printpath_names.h"
#include "app/trace.h"
#include "app/winver.h"
#include "framework/unique_handle.h"

namespace printpath {

bool UsesGlobalNames() {
    return IsWin2000OrLater() != FALSE;
}

DWORD SignalConsoleEvent(const char* pszDevice, const std::string& strPort, ConsoleRequest request) {
    const bool bCancel = request == ConsoleRequest::Cancel;
    const std::string strName =
        bCancel ? CancelEventName(strPort, UsesGlobalNames()) : ResumeEventName(strPort, UsesGlobalNames());
    const CUniqueHandle hEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, strName.c_str()));
    if (hEvent) {
        SetEvent(hEvent.Get());
        return 0;
    }
    const DWORD dwError = GetLastError();
    DebugTrace("%s::Open%sEvent() : OpenEvent(%s) failed. GetLastError() = %d\n", pszDevice,
               bCancel ? "Cancel" : "Resume", strName.c_str(), static_cast<int>(dwError));
    return dwError;
}

} // namespace printpath
