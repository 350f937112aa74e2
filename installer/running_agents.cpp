#include "installer/running_agents.h"

#include <tlhelp32.h>

#include <string>

#include "app/nyagent_app.h"
#include "app/trace.h"
#include "framework/unique_handle.h"

namespace {

const char kAgentImageName[] = "NyAgent.exe";

// The package needs Windows 7 or later: the name is always the global one.
std::string DestructionEventName() {
    return std::string("Global\\") + CNyAgentApp::kDestructionEventName;
}

} // namespace

BOOL CRunningAgents::Any() const {
    return IsAgentProcessRunning() || DoesDestructionEventExist();
}

void CRunningAgents::AskAllToEnd() const {
    const CUniqueHandle hEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, DestructionEventName().c_str()));
    if (!hEvent) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            DebugTrace("CRunningAgents::AskAllToEnd() : OpenEvent() failed. GetLastError() = %d\n",
                       static_cast<int>(GetLastError()));
        return;
    }
    if (!SetEvent(hEvent.Get()))
        DebugTrace("CRunningAgents::AskAllToEnd() : SetEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
}

BOOL CRunningAgents::WaitUntilNone(DWORD dwTimeoutMs, DWORD dwPollMs) const {
    const DWORD dwStart = GetTickCount();
    while (Any()) {
        if (GetTickCount() - dwStart >= dwTimeoutMs) {
            DebugTrace("CRunningAgents::WaitUntilNone() : agents still run after %lu ms\n",
                       static_cast<unsigned long>(dwTimeoutMs));
            return FALSE;
        }
        Sleep(dwPollMs);
    }
    return TRUE;
}

BOOL CRunningAgents::IsAgentProcessRunning() const {
    const CUniqueFile hSnapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!hSnapshot) {
        DebugTrace("CRunningAgents::IsAgentProcessRunning() : CreateToolhelp32Snapshot() failed. "
                   "GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(hSnapshot.Get(), &entry); bMore;
         bMore = Process32Next(hSnapshot.Get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, kAgentImageName) == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL CRunningAgents::DoesDestructionEventExist() const {
    const CUniqueHandle hEvent(OpenEventA(SYNCHRONIZE, FALSE, DestructionEventName().c_str()));
    // Refused access still tells that the event is there.
    return hEvent || GetLastError() == ERROR_ACCESS_DENIED;
}
