// What the agent's idle work is made of costs under Wine: starting a thread,
// a timed wait that runs out, and the small requests that go through the
// wineserver. CPU per operation in this process and, given its Linux process
// id, in the wineserver (read through Wine's Z: drive).
//   wine_cost_bench.exe [WINESERVER_PID]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

long g_nServerPid = 0;

double ProcessMs() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    const auto value = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

// utime + stime of the wineserver at 100 ticks a second, in ms; 0 when unknown.
double ServerMs() {
    if (g_nServerPid <= 0)
        return 0;
    std::ifstream stat("Z:\\proc\\" + std::to_string(g_nServerPid) + "\\stat");
    std::string strLine;
    std::getline(stat, strLine);
    const std::size_t nEnd = strLine.rfind(')');
    unsigned long nUser = 0, nSystem = 0;
    if (nEnd == std::string::npos ||
        std::sscanf(strLine.c_str() + nEnd + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &nUser,
                    &nSystem) != 2)
        return 0;
    return 10.0 * static_cast<double>(nUser + nSystem);
}

template <typename TOperation> void Measure(const char* pszWhat, int nCount, TOperation operation) {
    const double process0 = ProcessMs();
    const double server0 = ServerMs();
    for (int i = 0; i < nCount; ++i)
        operation();
    std::printf("%-44s %7.1f us in the process, %7.1f us in the wineserver\n", pszWhat,
                1000.0 * (ProcessMs() - process0) / nCount, 1000.0 * (ServerMs() - server0) / nCount);
}

DWORD WINAPI NoWork(void*) {
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    g_nServerPid = argc > 1 ? std::atol(argv[1]) : 0;
    std::printf("CPU per operation (process and thread times advance in 10 ms steps):\n");
    Measure("thread started and ended", 300, [] {
        const HANDLE hThread = CreateThread(nullptr, 0, NoWork, nullptr, 0, nullptr);
        WaitForSingleObject(hThread, INFINITE);
        CloseHandle(hThread);
    });
    const HANDLE hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Measure("timed wait that runs out (2 ms)", 1000, [hEvent] { WaitForSingleObject(hEvent, 2); });
    Measure("wait without time-out on a free event", 3000, [hEvent] { WaitForSingleObject(hEvent, 0); });
    Measure("opening a mutex that does not exist", 3000, [] {
        if (const HANDLE hMutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "Global\\NyWineCostBench.Missing"))
            CloseHandle(hMutex);
    });
    Measure("debug trace of one line", 3000,
            [] { OutputDebugStringA("CLanDevice::OpenMutexOnPort : OpenMutex() returns NULL.\n"); });
    CloseHandle(hEvent);
    return 0;
}
