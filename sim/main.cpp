// NySim.exe: plays the print path and the printers behind spooler ports, so
// that the agent has something real to watch. See SimUsage for the command line.
#include <cstdio>
#include <string>
#include <vector>

#include <winsock2.h>

#include <windows.h>

#include "sim/builtin_scenarios.h"
#include "sim/sim_options.h"
#include "sim/sim_runner.h"

namespace {

HANDLE g_hStopEvent = nullptr;

// Ctrl+C, Ctrl+Break and closing the console stop the run like the stop event.
BOOL WINAPI OnConsoleControl(DWORD) {
    SetEvent(g_hStopEvent);
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string strError;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, strError)) {
        std::fprintf(stderr, "NySim: %s\n%s", strError.c_str(), SimUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    Scenario steps;
    if (!options.scriptPath.empty()) {
        if (!LoadScenarioFile(options.scriptPath, steps, strError)) {
            std::fprintf(stderr, "NySim: %s\n", strError.c_str());
            return 2;
        }
    } else {
        GetBuiltInScenario(options.scenario, steps); // the name was checked with the command line
    }

    WSADATA wsaData;
    if (const int nError = WSAStartup(MAKEWORD(2, 2), &wsaData)) {
        std::fprintf(stderr, "NySim: no Windows Sockets, error %d\n", nError);
        return 1;
    }
    DWORD dwError = 0;
    {
        CSimRunner runner(options, steps);
        dwError = runner.Open();
        if (dwError == 0) {
            g_hStopEvent = runner.StopEvent();
            SetConsoleCtrlHandler(OnConsoleControl, TRUE);
            dwError = runner.Run();
            SetConsoleCtrlHandler(OnConsoleControl, FALSE);
        }
    }
    WSACleanup();
    if (dwError) {
        std::fprintf(stderr, "NySim: stopped by Windows error %lu\n", static_cast<unsigned long>(dwError));
        return 1;
    }
    return 0;
}
