// NyAgentSetup.exe, installed beside the agent for the package's own use:
//   NyAgentSetup.exe /wait            waits until no agent runs any more (after
//                                     "NyAgent.exe /destroyall"), 30 s at most
//   NyAgentSetup.exe /removesettings  deletes the settings of the user running it
// Exits with 0 on success, 1460 when agents still run after the wait, 1 when
// the settings could not be deleted, and 87 for any other command line.
#include <windows.h>

#include <stdlib.h>

#include "app/trace.h"
#include "installer/running_agents.h"
#include "installer/user_settings.h"

namespace {

// An agent ends within one 100 ms tick of the signal; the rest is for a busy
// machine and for a printer exchange that is still running.
const DWORD kWaitTimeoutMs = 30000;
const DWORD kWaitPollMs = 100;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* pszCommand = __argc == 2 ? __argv[1] : "";
    if (lstrcmpiA(pszCommand, "/wait") == 0)
        return CRunningAgents().WaitUntilNone(kWaitTimeoutMs, kWaitPollMs) ? 0 : ERROR_TIMEOUT;
    if (lstrcmpiA(pszCommand, "/removesettings") == 0)
        return CUserSettings::Remove() ? 0 : 1;
    DebugTrace("NyAgentSetup : unknown command line \"%s\"\n", GetCommandLineA());
    return ERROR_INVALID_PARAMETER;
}
