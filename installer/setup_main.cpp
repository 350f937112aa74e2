// NyAgentSetup.exe, the package's helper. The package runs it from its own
// Binary table, so that a removal works even when the installed copy is gone:
//   NyAgentSetup.exe /stop            asks every agent in every session to end
//                                     and waits until none runs, 30 s at most
//   NyAgentSetup.exe /start PATH      waits the same way, then starts the agent
//                                     PATH for the user running it
//   NyAgentSetup.exe /removesettings  deletes the settings of the user running it
// Exits with 0 on success, 1460 when agents still run after the wait, 1 when
// the settings could not be deleted or the agent not started, and 87 for any
// other command line.
#include <windows.h>

#include <stdlib.h>

#include <string>

#include "app/trace.h"
#include "installer/running_agents.h"
#include "installer/user_settings.h"

namespace {

// An agent ends within one 100 ms tick of the signal; the rest is for a busy
// machine and for a printer exchange that is still running.
const DWORD kWaitTimeoutMs = 30000;
const DWORD kWaitPollMs = 100;

// A new agent that found the old agents' event still there, signalled, would
// end at its first tick: it starts once the event is gone. After the wait it
// starts all the same; an agent still running in this session then keeps it
// from running twice.
int StartAgent(const char* pszPath) {
    CRunningAgents().WaitUntilNone(kWaitTimeoutMs, kWaitPollMs);
    std::string strCommandLine = std::string("\"") + pszPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(pszPath, &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        DebugTrace("NyAgentSetup : CreateProcess(\"%s\") failed. GetLastError() = %d\n", pszPath,
                   static_cast<int>(GetLastError()));
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* pszCommand = __argc >= 2 ? __argv[1] : "";
    if (__argc == 2 && lstrcmpiA(pszCommand, "/stop") == 0) {
        const CRunningAgents agents;
        agents.AskAllToEnd();
        return agents.WaitUntilNone(kWaitTimeoutMs, kWaitPollMs) ? 0 : ERROR_TIMEOUT;
    }
    if (__argc == 3 && lstrcmpiA(pszCommand, "/start") == 0)
        return StartAgent(__argv[2]);
    if (__argc == 2 && lstrcmpiA(pszCommand, "/removesettings") == 0)
        return CUserSettings::Remove() ? 0 : 1;
    DebugTrace("NyAgentSetup : unknown command line \"%s\"\n", GetCommandLineA());
    return ERROR_INVALID_PARAMETER;
}
