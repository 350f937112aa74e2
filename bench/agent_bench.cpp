// The real NyAgent.exe with 16 simulated printers of the family in the
// spooler: eight USB printers watched through the status blocks that one
// simulator publishes, and eight network printers that a second simulator
// answers over PJL. Measures, from outside the agent:
// - start to icon: CreateProcess to the agent's icon present in the tray;
// - Exit to end: the tray menu's Exit chosen to the process handle signalled;
// - the agent's CPU over an idle period, split by thread, and its memory;
// - the wineserver's CPU over the same period and over one without the agent
//   (Linux process id on the command line; read through Wine's Z: drive).
// Runs on Wine's shell desktop (scripts/bench-agent.sh); not run by CTest.
//   agent_bench.exe [IDLE_SECONDS] [STARTS] [WINESERVER_PID]     (defaults 60, 20, none)
#include <winsock2.h>

#include <windows.h>

#include <dbt.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/registry.h"
#include "framework/unique_handle.h"
#include "sim/usb/usb_setup.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

constexpr int kPrintersPerRoad = 8;
constexpr DWORD kFirstTcpPort = 19400;
constexpr char kDesktop[] = "shell";
constexpr char kAgentKey[] = "Software\\Tessel\\Tessel Photo\\NyAgent";

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Ms(const FILETIME& kernel, const FILETIME& user) {
    const auto value = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

// CPU of a Linux process in ms (utime + stime at 100 ticks a second); 0 when unknown.
double LinuxCpuMs(long nPid) {
    if (nPid <= 0)
        return 0;
    std::ifstream stat("Z:\\proc\\" + std::to_string(nPid) + "\\stat");
    std::string strLine;
    std::getline(stat, strLine);
    const std::size_t nEnd = strLine.rfind(')');
    if (nEnd == std::string::npos)
        return 0;
    unsigned long nUser = 0, nSystem = 0;
    if (std::sscanf(strLine.c_str() + nEnd + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &nUser,
                    &nSystem) != 2)
        return 0;
    return 10.0 * static_cast<double>(nUser + nSystem);
}

std::string Lower(std::string strText) {
    std::transform(strText.begin(), strText.end(), strText.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return strText;
}

// The Linux process id of a running process whose command line begins with
// the program's Unix path (so Wine shows a program that a Windows program
// started); 0 when there is none.
long LinuxPidOnce(const std::string& strProgram) {
    WIN32_FIND_DATAA entry;
    const HANDLE hFind = FindFirstFileA("Z:\\proc\\*", &entry);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    long nFound = 0;
    do {
        const long nPid = std::atol(entry.cFileName);
        if (nPid <= 0)
            continue;
        std::ifstream file("Z:\\proc\\" + std::to_string(nPid) + "\\cmdline", std::ios::binary);
        const std::string strCommand((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
        if (Lower(strCommand).compare(0, strProgram.size(), strProgram) == 0)
            nFound = nPid;
    } while (!nFound && FindNextFileA(hFind, &entry));
    FindClose(hFind);
    return nFound;
}

// Wine's listing of /proc can end early while other processes come and go,
// hence the second looks.
long LinuxPidOf(const char* pszProgram) {
    const std::string strProgram = Lower(pszProgram);
    for (int nTry = 0; nTry < 10; ++nTry, Sleep(100))
        if (const long nPid = LinuxPidOnce(strProgram))
            return nPid;
    std::printf("the Linux process of %s was not found: no CPU or memory figure\n", pszProgram);
    return 0;
}

// A "Name:  value kB" line of a Linux process's status file, in MB.
double LinuxStatusMb(long nPid, const char* pszFile, const std::string& strKey) {
    std::ifstream file("Z:\\proc\\" + std::to_string(nPid) + "\\" + pszFile);
    for (std::string strLine; std::getline(file, strLine);)
        if (strLine.compare(0, strKey.size() + 1, strKey + ":") == 0)
            return std::atof(strLine.c_str() + strKey.size() + 1) / 1024.0;
    return 0;
}

struct Figures {
    std::vector<double> samples;
    void Print(const char* pszWhat) {
        if (samples.empty()) {
            std::printf("%s: no sample\n", pszWhat);
            return;
        }
        std::sort(samples.begin(), samples.end());
        std::printf("%s over %zu runs: median %.0f ms, min %.0f ms, max %.0f ms\n", pszWhat, samples.size(),
                    samples[samples.size() / 2], samples.front(), samples.back());
    }
};

class CAgentProcess {
public:
    ~CAgentProcess() {
        if (m_hProcess && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(m_hProcess.Get(), 99);
    }
    bool Start(const char* pszArguments = "") {
        std::string strCommand = "\"" NYAGENT_EXE "\" " + std::string(pszArguments);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        si.lpDesktop = const_cast<char*>(kDesktop);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        m_hProcess.Reset(pi.hProcess);
        m_dwProcessId = pi.dwProcessId;
        return true;
    }
    HANDLE Process() const { return m_hProcess.Get(); }
    DWORD Id() const { return m_dwProcessId; }

    // The agent's top-level windows of that class (visible ones only when asked).
    int CountWindows(const char* pszClass, bool bVisibleOnly, HWND* phFirst = nullptr) const {
        int nCount = 0;
        for (HWND hWnd = FindWindowExA(nullptr, nullptr, pszClass, nullptr); hWnd;
             hWnd = FindWindowExA(nullptr, hWnd, pszClass, nullptr)) {
            DWORD dwProcessId = 0;
            GetWindowThreadProcessId(hWnd, &dwProcessId);
            if (dwProcessId != m_dwProcessId || (bVisibleOnly && !IsWindowVisible(hWnd)))
                continue;
            if (phFirst && nCount == 0)
                *phFirst = hWnd;
            ++nCount;
        }
        return nCount;
    }
    // The tray's message window once the shell holds the icon (a modification
    // that changes nothing succeeds only while it exists); null otherwise.
    HWND IconWindow() const {
        HWND hWnd = nullptr;
        if (CountWindows("CNyTaskBarApplet", false, &hWnd) == 0)
            return nullptr;
        NOTIFYICONDATAA data{};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = hWnd;
        return Shell_NotifyIconA(NIM_MODIFY, &data) ? hWnd : nullptr;
    }
    // The monitor window and one status window per printer exist once the
    // printer set has been synchronised.
    bool WaitForPrinters(DWORD dwTimeOutMs) const {
        for (const double start = NowMs(); NowMs() - start < dwTimeOutMs; Sleep(20))
            if (CountWindows("#32770", false) >= 1 + 2 * kPrintersPerRoad)
                return true;
        return false;
    }
    // Right click on the icon, then End and Enter in the menu: Exit is its
    // last item. The time from the choice to the end of the process, or a
    // negative number when the agent did not end.
    double ExitFromMenu(HWND hIconWindow) const {
        PostMessageA(hIconWindow, RegisterWindowMessageA("CTaskBarAppletMessage"), 0, WM_RBUTTONUP);
        HWND hMenu = nullptr;
        for (const double start = NowMs(); !hMenu && NowMs() - start < 5000; Sleep(5))
            CountWindows("#32768", true, &hMenu);
        if (!hMenu)
            return -1;
        PostMessageA(hMenu, WM_KEYDOWN, VK_END, 0);
        Sleep(50);
        const double chosen = NowMs();
        PostMessageA(hMenu, WM_KEYDOWN, VK_RETURN, 0);
        if (WaitForSingleObject(m_hProcess.Get(), 10000) != WAIT_OBJECT_0)
            return -1;
        return NowMs() - chosen;
    }

private:
    CUniqueHandle m_hProcess;
    DWORD m_dwProcessId = 0;
};

// A thread's start and CPU, in ms.
struct ThreadTime {
    double created, cpu;
};

// The threads of a process, by thread id.
std::map<DWORD, ThreadTime> ThreadTimes(DWORD dwProcessId) {
    std::map<DWORD, ThreadTime> times;
    CUniqueHandle hSnapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Thread32First(hSnapshot.Get(), &entry); bMore;
         bMore = Thread32Next(hSnapshot.Get(), &entry)) {
        if (entry.th32OwnerProcessID != dwProcessId)
            continue;
        CUniqueHandle hThread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
        FILETIME creation, exit, kernel, user;
        if (hThread && GetThreadTimes(hThread.Get(), &creation, &exit, &kernel, &user))
            times[entry.th32ThreadID] = {Ms(creation, FILETIME{}), Ms(kernel, user)};
    }
    return times;
}

// The printers, the port monitor and the simulators for the length of the run.
class CBenchPrinters {
public:
    CBenchPrinters() {
        CRegistry::SetDWORDKey(kAgentKey, "UseNyStatusMonitor", 1);
        CRegistry::SetDWORDKey(kAgentKey, "OpenOnError", 0);
        CRegistry::SetDWORDKey(kAgentKey, "OpenWhenPrinting", 0);
        std::string strSharedMemory = "--scenario idle --tick 50 --stop-event NySim.AgentBench.Usb";
        std::string strNetwork = "--no-print-path --scenario idle --tick 50 --pjl-port " +
                                 std::to_string(kFirstTcpPort) + " --stop-event NySim.AgentBench.Net";
        for (int i = 0; i < kPrintersPerRoad; ++i) {
            SimUsbPrinter usb;
            usb.strSerial = "NYAGENTB" + std::to_string(i);
            usb.strPort = "USB" + std::to_string(750 + i);
            CSimUsbSetup::Install(usb);
            m_usb.push_back(usb);
            m_printers.push_back(std::make_unique<CTestPrinter>(
                "Kestrel Agent Bench USB " + std::to_string(i), usb.strPort, "Kestrel 2006"));
            strSharedMemory += " --port " + usb.strPort;

            const std::string strPort = "NYAGENTBNET" + std::to_string(i);
            m_portMonitor.AddNetworkPort(strPort, "127.0.0.1", kFirstTcpPort + i);
            m_printers.push_back(std::make_unique<CTestPrinter>(
                "Kestrel Agent Bench Net " + std::to_string(i), strPort, "Kestrel 2006 WiFi"));
            strNetwork += " --port " + strPort;
        }
        m_bStarted = m_simUsb.Start(strSharedMemory) && m_simNet.Start(strNetwork);
        Sleep(2000);
    }
    ~CBenchPrinters() {
        for (const char* pszEvent : {"NySim.AgentBench.Usb", "NySim.AgentBench.Net"}) {
            CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, pszEvent));
            if (hStop)
                SetEvent(hStop.Get());
        }
        m_simUsb.Wait(10000);
        m_simNet.Wait(10000);
        m_printers.clear();
        for (const SimUsbPrinter& usb : m_usb)
            CSimUsbSetup::Remove(usb);
        CRegistry::SetDWORDKey(kAgentKey, "UseNyStatusMonitor", 0);
    }
    bool IsReady() { return m_bStarted && m_simUsb.IsRunning() && m_simNet.IsRunning(); }

private:
    std::vector<SimUsbPrinter> m_usb;
    CTestPortMonitor m_portMonitor;
    std::vector<std::unique_ptr<CTestPrinter>> m_printers;
    CSimChild m_simUsb, m_simNet;
    bool m_bStarted = false;
};

// Starts and ends the agent nStarts times through its tray menu; for
// comparison, as many runs that end at once ("destroyall"): what starting
// and ending any process costs here.
void MeasureStartAndExit(int nStarts) {
    Figures bare, start, exit;
    for (int i = 0; i < nStarts; ++i) {
        CAgentProcess destroyer;
        const double started = NowMs();
        if (destroyer.Start("/destroyall") &&
            WaitForSingleObject(destroyer.Process(), 10000) == WAIT_OBJECT_0)
            bare.samples.push_back(NowMs() - started);
    }
    bare.Print("a run that ends at once (destroyall), CreateProcess to process gone");
    for (int i = 0; i < nStarts; ++i) {
        CAgentProcess agent;
        const double started = NowMs();
        if (!agent.Start()) {
            std::printf("CreateProcess failed: %lu\n", GetLastError());
            return;
        }
        HWND hIconWindow = nullptr;
        while (!(hIconWindow = agent.IconWindow()) && NowMs() - started < 10000)
            Sleep(1);
        if (!hIconWindow) {
            std::printf("start %d: no icon within 10 s\n", i);
            continue;
        }
        start.samples.push_back(NowMs() - started);
        const bool bAllPrinters = agent.WaitForPrinters(20000);
        if (!bAllPrinters)
            std::printf("start %d: the printers did not all come within 20 s\n", i);
        Sleep(1500);
        const double dExit = agent.ExitFromMenu(hIconWindow);
        if (dExit < 0)
            std::printf("start %d: Exit did not end the agent\n", i);
        else if (bAllPrinters)
            exit.samples.push_back(dExit);
    }
    start.Print("start to icon shown");
    exit.Print("Exit chosen to process gone, 16 printers");
}

void MeasureIdle(int nSeconds, long nServerPid) {
    // The wineserver serves the simulators, the shell and this program too:
    // its figure without the agent comes first.
    const int nBaseSeconds = std::min(nSeconds, 30);
    const double serverBase0 = LinuxCpuMs(nServerPid);
    Sleep(static_cast<DWORD>(nBaseSeconds) * 1000);
    const double serverBase = LinuxCpuMs(nServerPid) - serverBase0;

    CAgentProcess agent;
    if (!agent.Start() || !agent.WaitForPrinters(20000)) {
        std::printf("the agent did not start with its printers\n");
        return;
    }
    Sleep(5000);
    // Wine reports neither the CPU times nor the private bytes of another
    // process (both read 0), so they come from Linux; threads that ended
    // count there too.
    const long nAgentPid = LinuxPidOf(NYAGENT_EXE);
    const std::map<DWORD, ThreadTime> threads0 = ThreadTimes(agent.Id());
    const double process0 = LinuxCpuMs(nAgentPid);
    const double server0 = LinuxCpuMs(nServerPid);
    const double wall0 = NowMs();
    Sleep(static_cast<DWORD>(nSeconds) * 1000);
    const double wall = NowMs() - wall0;
    const double process = LinuxCpuMs(nAgentPid) - process0;
    const double server = LinuxCpuMs(nServerPid) - server0;
    const std::map<DWORD, ThreadTime> threads1 = ThreadTimes(agent.Id());

    std::printf("agent idle %.0f s with 16 printers: %.0f ms CPU, %.3f %% of one core\n", wall / 1000,
                process, 100.0 * process / wall);
    // The main thread is the oldest. A thread id may have been used again
    // by a later thread; threads that ended during the period (the network
    // exchanges) account for the rest of the process's figure.
    double liveSum = 0, mainMs = 0, mainCreated = 0;
    std::vector<double> others;
    for (const auto& [dwId, time] : threads1) {
        const auto it = threads0.find(dwId);
        const bool bSame = it != threads0.end() && it->second.created == time.created;
        const double ms = time.cpu - (bSame ? it->second.cpu : 0);
        liveSum += ms;
        if (mainCreated == 0 || time.created < mainCreated) {
            if (mainCreated != 0)
                others.push_back(mainMs);
            mainCreated = time.created;
            mainMs = ms;
        } else {
            others.push_back(ms);
        }
    }
    std::sort(others.rbegin(), others.rend());
    std::printf("  main thread %.0f ms; %zu other threads alive at the end, %.0f ms:", mainMs, others.size(),
                liveSum - mainMs);
    for (const double ms : others)
        std::printf(" %.0f", ms);
    std::printf("\n  threads that ended during the period: %.0f ms\n", std::max(0.0, process - liveSum));
    if (nServerPid > 0)
        std::printf("  wineserver: %.0f ms CPU (%.3f %%); without the agent %.0f ms over %d s (%.3f %%)\n",
                    server, 100.0 * server / wall, serverBase, nBaseSeconds,
                    100.0 * serverBase / (nBaseSeconds * 1000.0));
    std::printf("agent memory: private (anonymous resident) %.2f MB, of it dirty %.2f MB; resident %.2f MB\n",
                LinuxStatusMb(nAgentPid, "status", "RssAnon"),
                LinuxStatusMb(nAgentPid, "smaps_rollup", "Private_Dirty"),
                LinuxStatusMb(nAgentPid, "status", "VmRSS"));
    // Device changes with nothing changed: the agent synchronises its printer
    // set with the spooler at each one, before the broadcast returns.
    const int nDeviceChanges = 100;
    const double dBeforeMb = LinuxStatusMb(nAgentPid, "status", "RssAnon");
    for (int i = 0; i < nDeviceChanges; ++i)
        SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_ABORTIFHUNG, 10000,
                            nullptr);
    std::printf("agent memory over %d WM_DEVICECHANGE broadcasts: %+.1f kB per broadcast\n", nDeviceChanges,
                (LinuxStatusMb(nAgentPid, "status", "RssAnon") - dBeforeMb) * 1024.0 / nDeviceChanges);
    HWND hIconWindow = agent.IconWindow();
    if (!hIconWindow || agent.ExitFromMenu(hIconWindow) < 0)
        std::printf("the agent did not end through its menu\n");
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int nSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const int nStarts = argc > 2 ? std::max(0, std::atoi(argv[2])) : 20;
    const long nServerPid = argc > 3 ? std::atol(argv[3]) : 0;
    const HDESK hDesktop = OpenDesktopA(kDesktop, 0, FALSE, GENERIC_ALL);
    if (!hDesktop || !SetThreadDesktop(hDesktop)) {
        std::printf("no shell desktop: run through scripts/bench-agent.sh\n");
        return 1;
    }
    CBenchPrinters printers;
    if (!printers.IsReady()) {
        std::printf("the simulators did not start\n");
        return 1;
    }
    MeasureStartAndExit(nStarts);
    MeasureIdle(nSeconds, nServerPid);
    return 0;
}
