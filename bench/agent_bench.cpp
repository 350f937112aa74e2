// The real NyAgent.exe with 16 simulated printers of the family in the
// spooler: eight USB printers watched through the status blocks that one
// simulator publishes, and eight network printers that a second simulator
// answers over PJL. Measures, from outside the agent:
// - start to icon: CreateProcess to the agent's icon present in the tray;
// - Exit to end: the tray menu's Exit chosen to the process handle signalled;
// - the agent's CPU over an idle period, split by thread, and its memory;
// - the wineserver's CPU over the same period and over one without the agent
//   (Linux process id on the command line; read through Wine's Z: drive);
// - the same figures of a minimal program (idle_floor_bench.exe) that makes
//   the same waits, thread starts and exchanges with the same printers, over
//   as long a period, and the agent's as ratios to them;
// - Exit with dead printers: the network printers swapped for 8 that accept a
//   connection and never answer, one of them on a port whose status mutex this
//   process holds; the tray menu's Exit, and a "destroyall" run, to the end of
//   the running agent.
// Runs on Wine's shell desktop (scripts/bench-agent.sh); not run by CTest.
//   agent_bench.exe [IDLE_SECONDS] [STARTS] [WINESERVER_PID]     (defaults 60, 20, none)
#include <winsock2.h>

#include <windows.h>

#include <dbt.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/printpath/printpath_names.h"
#include "app/registry.h"
#include "framework/unique_handle.h"
#include "sim/usb/usb_setup.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

constexpr int kPrintersPerRoad = 8;
constexpr DWORD kFirstTcpPort = 19400;
constexpr DWORD kFirstSilentTcpPort = 19420;
// How long an agent may take to end before it is ended by force, and, with
// dead printers, to show every printer's window.
constexpr DWORD kEndTimeOutMs = 90000;
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
    const CUniqueFind hFind(FindFirstFileA("Z:\\proc\\*", &entry));
    if (!hFind)
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
    } while (!nFound && FindNextFileA(hFind.Get(), &entry));
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
    int nFailed = 0;
    void Print(const char* pszWhat) {
        if (samples.empty()) {
            std::printf("%s: no sample\n", pszWhat);
        } else {
            std::sort(samples.begin(), samples.end());
            std::printf("%s over %zu runs: median %.0f ms, min %.0f ms, max %.0f ms\n", pszWhat,
                        samples.size(), samples[samples.size() / 2], samples.front(), samples.back());
        }
        if (nFailed > 0)
            std::printf("  and %d more runs that did not end within %lu s (ended by force)\n", nFailed,
                        kEndTimeOutMs / 1000);
    }
};

class CAgentProcess {
public:
    // An agent still running is ended by force, and waited for, so that the
    // next run starts as the only instance.
    ~CAgentProcess() {
        if (m_hProcess && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_hProcess.Get(), 99);
            WaitForSingleObject(m_hProcess.Get(), 10000);
        }
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
    // The icon once the agent shows it; null when it did not within 10 s.
    HWND WaitForIcon(double started) const {
        HWND hIconWindow = nullptr;
        while (!(hIconWindow = IconWindow()) && NowMs() - started < 10000)
            Sleep(1);
        return hIconWindow;
    }
    // Right click on the icon, then End and Enter in the menu: Exit is its
    // last item. The time from the choice to the end of the process; kNoMenu
    // when the menu did not open, kNoEnd when the agent did not end within
    // dwTimeOutMs.
    static constexpr double kNoMenu = -1, kNoEnd = -2;
    double ExitFromMenu(HWND hIconWindow, DWORD dwTimeOutMs = 10000) const {
        PostMessageA(hIconWindow, RegisterWindowMessageA("CTaskBarAppletMessage"), 0, WM_RBUTTONUP);
        HWND hMenu = nullptr;
        for (const double start = NowMs(); !hMenu && NowMs() - start < 10000; Sleep(5))
            CountWindows("#32768", true, &hMenu);
        if (!hMenu)
            return kNoMenu;
        PostMessageA(hMenu, WM_KEYDOWN, VK_END, 0);
        Sleep(50);
        const double chosen = NowMs();
        PostMessageA(hMenu, WM_KEYDOWN, VK_RETURN, 0);
        if (WaitForSingleObject(m_hProcess.Get(), dwTimeOutMs) != WAIT_OBJECT_0)
            return kNoEnd;
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
    CUniqueFile hSnapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
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
            m_usbPrinters.push_back(std::make_unique<CTestPrinter>(
                "Kestrel Agent Bench USB " + std::to_string(i), usb.strPort, "Kestrel 2006"));
            strSharedMemory += " --port " + usb.strPort;

            const std::string strPort = "NYAGENTBNET" + std::to_string(i);
            m_portMonitor.AddNetworkPort(strPort, "127.0.0.1", kFirstTcpPort + i);
            m_networkPrinters.push_back(std::make_unique<CTestPrinter>(
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
        m_usbPrinters.clear();
        m_networkPrinters.clear();
        for (const SimUsbPrinter& usb : m_usb)
            CSimUsbSetup::Remove(usb);
        CRegistry::SetDWORDKey(kAgentKey, "UseNyStatusMonitor", 0);
    }
    bool IsReady() { return m_bStarted && m_simUsb.IsRunning() && m_simNet.IsRunning(); }
    const std::vector<SimUsbPrinter>& UsbPrinters() const { return m_usb; }

    // The network printers swapped for as many on the silent server's ports;
    // returns their port names.
    std::vector<std::string> SilenceNetworkPrinters() {
        m_networkPrinters.clear();
        std::vector<std::string> ports;
        for (int i = 0; i < kPrintersPerRoad; ++i) {
            ports.push_back("NYAGENTBDEAD" + std::to_string(i));
            m_portMonitor.AddNetworkPort(ports.back(), "127.0.0.1", kFirstSilentTcpPort + i);
            m_networkPrinters.push_back(std::make_unique<CTestPrinter>(
                "Kestrel Agent Bench Dead " + std::to_string(i), ports.back(), "Kestrel 2006 WiFi"));
        }
        return ports;
    }

private:
    std::vector<SimUsbPrinter> m_usb;
    CTestPortMonitor m_portMonitor;
    std::vector<std::unique_ptr<CTestPrinter>> m_usbPrinters, m_networkPrinters;
    CSimChild m_simUsb, m_simNet;
    bool m_bStarted = false;
};

// Network printers that are dead in the worst way: each port on 127.0.0.1
// accepts every connection and reads what it is sent, but never answers, and
// keeps the connection open until the other side closes it.
class CSilentServer {
public:
    CSilentServer(DWORD dwFirstTcpPort, int nPorts) {
        WSADATA wsa;
        m_bStarted = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
        for (int i = 0; m_bStarted && i < nPorts; ++i) {
            const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<u_short>(dwFirstTcpPort + i));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (s == INVALID_SOCKET ||
                bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
                listen(s, SOMAXCONN) != 0) {
                std::printf("silent printer on port %lu: error %d\n", dwFirstTcpPort + i, WSAGetLastError());
                if (s != INVALID_SOCKET)
                    closesocket(s);
                m_bStarted = false;
                break;
            }
            m_sockets.push_back({s, POLLRDNORM, 0});
        }
        m_nListening = m_sockets.size();
        if (m_bStarted)
            m_thread = std::thread([this] { Serve(); });
    }
    ~CSilentServer() {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (const WSAPOLLFD& socket : m_sockets)
            closesocket(socket.fd);
        WSACleanup();
    }
    CSilentServer(const CSilentServer&) = delete;
    CSilentServer& operator=(const CSilentServer&) = delete;
    bool IsListening() const { return m_bStarted; }
    // What the agent's exchanges did: connections made, and bytes of requests read.
    long Connections() const { return m_nConnections; }
    long BytesRead() const { return m_nBytesRead; }

private:
    void Serve() {
        while (!m_bStop) {
            const int nReady = WSAPoll(m_sockets.data(), static_cast<ULONG>(m_sockets.size()), 100);
            if (nReady == SOCKET_ERROR) {
                std::printf("silent printers: WSAPoll error %d\n", WSAGetLastError());
                return;
            }
            for (std::size_t i = m_sockets.size(); i-- > 0;) {
                if (m_sockets[i].revents == 0)
                    continue;
                if (i < m_nListening) {
                    const SOCKET s = accept(m_sockets[i].fd, nullptr, nullptr);
                    if (s != INVALID_SOCKET) {
                        m_sockets.push_back({s, POLLRDNORM, 0});
                        ++m_nConnections;
                    }
                    continue;
                }
                char buffer[1024];
                const int nRead = recv(m_sockets[i].fd, buffer, sizeof(buffer), 0);
                if (nRead > 0) {
                    m_nBytesRead += nRead;
                } else {
                    closesocket(m_sockets[i].fd);
                    m_sockets.erase(m_sockets.begin() + static_cast<std::ptrdiff_t>(i));
                }
            }
        }
    }

    bool m_bStarted = false;
    std::vector<WSAPOLLFD> m_sockets; // the listening ones first
    std::size_t m_nListening = 0;
    std::atomic<bool> m_bStop{false};
    std::atomic<long> m_nConnections{0}, m_nBytesRead{0};
    std::thread m_thread;
};

// The print path's status mutex of a port, created and held by this process
// (by the thread that creates it) for as long as the object lives.
class CHeldStatusMutex {
public:
    explicit CHeldStatusMutex(const std::string& strPort)
        : m_hMutex(CreateMutexA(nullptr, TRUE, printpath::StatusMutexName(strPort, true).c_str())) {
        if (!m_hMutex || GetLastError() == ERROR_ALREADY_EXISTS)
            std::printf("the status mutex of %s is not held by this process\n", strPort.c_str());
    }
    ~CHeldStatusMutex() {
        if (m_hMutex)
            ReleaseMutex(m_hMutex.Get());
    }

private:
    CUniqueHandle m_hMutex;
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
        const HWND hIconWindow = agent.WaitForIcon(started);
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

// The CPU of a Linux process and of the wineserver over a period, and the
// process's private memory at its end.
struct IdleFigures {
    double wallMs = 0, cpuMs = 0, serverMs = 0, privateMb = 0;
};

// The minimal program with the same printers, run until the object goes.
class CIdleFloor {
public:
    explicit CIdleFloor(const std::vector<SimUsbPrinter>& usb)
        : m_hStop(CreateEventA(nullptr, TRUE, FALSE, kStopEvent)) {
        std::string strCommand = "\"" IDLE_FLOOR_EXE "\" " + std::string(kStopEvent) + " " +
                                 std::to_string(kFirstTcpPort) + " " + std::to_string(kPrintersPerRoad);
        for (const SimUsbPrinter& printer : usb)
            strCommand += " " + printer.strPort;
        // Its one line of counts joins this program's output.
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION pi{};
        if (m_hStop &&
            CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            m_hProcess.Reset(pi.hProcess);
        }
    }
    ~CIdleFloor() {
        if (!m_hProcess)
            return;
        SetEvent(m_hStop.Get());
        if (WaitForSingleObject(m_hProcess.Get(), 10000) != WAIT_OBJECT_0) {
            std::printf("the minimal program did not stop\n");
            TerminateProcess(m_hProcess.Get(), 99);
        }
    }
    CIdleFloor(const CIdleFloor&) = delete;
    CIdleFloor& operator=(const CIdleFloor&) = delete;
    bool IsRunning() const { return m_hProcess && WaitForSingleObject(m_hProcess.Get(), 0) == WAIT_TIMEOUT; }

private:
    static constexpr char kStopEvent[] = "NyAgentBench.IdleFloor.Stop";
    CUniqueHandle m_hStop, m_hProcess;
};

// The minimal program idle for as long as the agent was, right after it.
IdleFigures MeasureIdleFloor(const CBenchPrinters& printers, const IdleFigures& agent, long nServerPid) {
    IdleFigures floor;
    CIdleFloor program(printers.UsbPrinters());
    Sleep(5000);
    const long nPid = LinuxPidOf(IDLE_FLOOR_EXE);
    if (!program.IsRunning() || nPid == 0) {
        std::printf("the minimal program did not run\n");
        return floor;
    }
    const double process0 = LinuxCpuMs(nPid);
    const double server0 = LinuxCpuMs(nServerPid);
    const double wall0 = NowMs();
    Sleep(static_cast<DWORD>(agent.wallMs));
    floor.wallMs = NowMs() - wall0;
    floor.cpuMs = LinuxCpuMs(nPid) - process0;
    floor.serverMs = LinuxCpuMs(nServerPid) - server0;
    floor.privateMb = LinuxStatusMb(nPid, "status", "RssAnon");
    std::printf(
        "minimal program (idle_floor_bench) idle %.0f s with the same printers: %.0f ms CPU, %.3f %% of "
        "one core; private (anonymous resident) %.2f MB\n",
        floor.wallMs / 1000, floor.cpuMs, 100.0 * floor.cpuMs / floor.wallMs, floor.privateMb);
    if (nServerPid > 0)
        std::printf("  wineserver: %.0f ms CPU (%.3f %%)\n", floor.serverMs,
                    100.0 * floor.serverMs / floor.wallMs);
    return floor;
}

void MeasureIdle(const CBenchPrinters& printers, int nSeconds, long nServerPid) {
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
    const double privateMb = LinuxStatusMb(nAgentPid, "status", "RssAnon");
    std::printf("agent memory: private (anonymous resident) %.2f MB, of it dirty %.2f MB; resident %.2f MB\n",
                privateMb, LinuxStatusMb(nAgentPid, "smaps_rollup", "Private_Dirty"),
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
    if (!hIconWindow || agent.ExitFromMenu(hIconWindow, kEndTimeOutMs) < 0)
        std::printf("the agent did not end through its menu\n");

    const IdleFigures agentFigures{wall, process, server, privateMb};
    const IdleFigures floor = MeasureIdleFloor(printers, agentFigures, nServerPid);
    if (floor.cpuMs > 0 && floor.privateMb > 0)
        std::printf("agent against the minimal program: CPU %.2f (%.3f %% against %.3f %%), private memory "
                    "%.2f (%.2f MB against %.2f MB); goal 1.3 at most for both\n",
                    (agentFigures.cpuMs / agentFigures.wallMs) / (floor.cpuMs / floor.wallMs),
                    100.0 * agentFigures.cpuMs / agentFigures.wallMs, 100.0 * floor.cpuMs / floor.wallMs,
                    agentFigures.privateMb / floor.privateMb, agentFigures.privateMb, floor.privateMb);
}

// Exit with dead printers, over nRuns runs each of the tray menu's Exit and of
// a "destroyall" run, taken in turn so that a change of the machine's load
// weighs on both alike. The agent is ended when each of its network printers
// is waiting for a reply.
void MeasureExitWithDeadPrinters(CBenchPrinters& printers, int nRuns) {
    const std::vector<std::string> ports = printers.SilenceNetworkPrinters();
    const CSilentServer server(kFirstSilentTcpPort, kPrintersPerRoad);
    if (!server.IsListening())
        return;
    const CHeldStatusMutex heldMutex(ports.front());
    Figures tray, destroyAll, allPrinters;
    for (int i = 0; i < 2 * nRuns; ++i) {
        CAgentProcess agent;
        const double started = NowMs();
        if (!agent.Start()) {
            std::printf("CreateProcess failed: %lu\n", GetLastError());
            return;
        }
        const HWND hIconWindow = agent.WaitForIcon(started);
        if (!hIconWindow) {
            std::printf("dead printers, run %d: no icon within 10 s\n", i);
            continue;
        }
        if (agent.WaitForPrinters(kEndTimeOutMs))
            allPrinters.samples.push_back(NowMs() - started);
        else
            std::printf("dead printers, run %d: the printers did not all come within %lu s\n", i,
                        kEndTimeOutMs / 1000);
        Sleep(4000);
        if (i % 2 == 0) {
            const double dExit = agent.ExitFromMenu(hIconWindow, kEndTimeOutMs);
            if (dExit == CAgentProcess::kNoMenu)
                std::printf("dead printers, run %d: the tray menu did not open\n", i);
            else if (dExit == CAgentProcess::kNoEnd)
                ++tray.nFailed;
            else
                tray.samples.push_back(dExit);
            continue;
        }
        CAgentProcess destroyer;
        const double destroyed = NowMs();
        if (!destroyer.Start("/destroyall")) {
            std::printf("CreateProcess failed: %lu\n", GetLastError());
            return;
        }
        if (WaitForSingleObject(agent.Process(), kEndTimeOutMs) == WAIT_OBJECT_0)
            destroyAll.samples.push_back(NowMs() - destroyed);
        else
            ++destroyAll.nFailed;
        WaitForSingleObject(destroyer.Process(), 10000);
    }
    allPrinters.Print("dead printers: start to every printer's window");
    tray.Print("Exit chosen to process gone, 8 silent network printers (one port's mutex held elsewhere)");
    destroyAll.Print("destroyall started to the running agent gone, same printers");
    std::printf("  the silent printers took %ld connections and read %ld bytes of requests\n",
                server.Connections(), server.BytesRead());
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int nSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const int nStarts = argc > 2 ? std::max(0, std::atoi(argv[2])) : 20;
    const long nServerPid = argc > 3 ? std::atol(argv[3]) : 0;
    // A folder (as Windows names it) turns the agent's metrics on for the idle figures.
    const char* pszMetricsFolder = argc > 4 ? argv[4] : nullptr;
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
    if (nStarts > 0)
        MeasureStartAndExit(nStarts);
    if (pszMetricsFolder) {
        std::printf("metrics on, written to %s\n", pszMetricsFolder);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kAgentKey, "MetricsDirectory", REG_SZ, pszMetricsFolder,
                        static_cast<DWORD>(std::strlen(pszMetricsFolder) + 1));
    }
    MeasureIdle(printers, nSeconds, nServerPid);
    if (pszMetricsFolder)
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kAgentKey, "MetricsDirectory");
    if (nStarts > 0)
        MeasureExitWithDeadPrinters(printers, nStarts);
    return 0;
}
