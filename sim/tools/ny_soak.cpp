// NySoak.exe: the Windows side of the soak script. It asks every window of the
// running agent whether it still answers, adds printers to the spooler and
// removes them again as an administrator would, and starts or stops the
// stand-in USB printing class driver that serves the simulated USB printers.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "sim/tools/agent_windows.h"
#include "sim/usb/usb_driver_service.h"

namespace {

constexpr char kUsage[] =
    "Usage: NySoak.exe COMMAND ...\n"
    "  ping                          send WM_NULL to every window of the agent (1 s each): prints\n"
    "                                \"y COUNT\" when all answer, else \"n\" and the windows that did not\n"
    "  printer add NAME PORT DRIVER  put a printer into the spooler and tell the windows\n"
    "  printer remove NAME           take it out again and tell the windows\n"
    "  driver start IMAGE            install and start the stand-in USB printing class driver\n"
    "  driver stop                   stop it\n";

constexpr UINT kPingTimeoutMs = 1000;
constexpr UINT kBroadcastTimeoutMs = 5000;
constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

int Fail(const std::string& strWhy) {
    std::fprintf(stderr, "NySoak: %s\n", strWhy.c_str());
    return 1;
}

// The agent's top-level windows and its message-only windows (the tray's
// message window among them).
std::vector<HWND> AgentWindows(DWORD dwProcessId) {
    std::vector<HWND> windows = agentwin::TopLevelWindows(dwProcessId);
    for (HWND hWnd = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); hWnd;
         hWnd = FindWindowExA(HWND_MESSAGE, hWnd, nullptr, nullptr)) {
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner == dwProcessId)
            windows.push_back(hWnd);
    }
    return windows;
}

// A thread that let one window time out is not asked again for its others:
// they are counted as not answering, so that a hung thread costs one second.
int Ping() {
    const DWORD dwProcessId = agentwin::FindAgentProcess();
    if (dwProcessId == 0) {
        std::puts("n no agent");
        return 1;
    }
    const std::vector<HWND> windows = AgentWindows(dwProcessId);
    // Per thread that did not answer: how many of its windows were left unanswered.
    std::map<DWORD, unsigned> silentThreads;
    for (HWND hWnd : windows) {
        const DWORD dwThreadId = GetWindowThreadProcessId(hWnd, nullptr);
        if (const auto it = silentThreads.find(dwThreadId); it != silentThreads.end()) {
            ++it->second;
            continue;
        }
        DWORD_PTR dwResult = 0;
        // A window destroyed meanwhile did not hang.
        if (!SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kPingTimeoutMs,
                                 &dwResult) &&
            IsWindow(hWnd))
            silentThreads[dwThreadId] = 1;
    }
    if (!silentThreads.empty()) {
        std::string strSilent;
        for (const auto& [dwThreadId, nWindows] : silentThreads)
            strSilent +=
                " thread " + std::to_string(dwThreadId) + " (" + std::to_string(nWindows) + " windows)";
        std::printf("n%s\n", strSilent.c_str());
        return 1;
    }
    std::printf("y %u\n", static_cast<unsigned>(windows.size()));
    return 0;
}

// The spooler broadcasts WM_WININICHANGE for the "devices" section when a
// printer comes or goes; the agent updates its printers on it.
void TellPrintersChanged() {
    agentwin::EnterShellDesktop();
    static const char kSection[] = "devices";
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(kSection),
                        SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, nullptr);
}

int AddPrinter(const std::string& strName, const std::string& strPort, const std::string& strDriver) {
    HKEY hKey = nullptr;
    LSTATUS nError = RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kPrintersKey + strName).c_str(), 0, nullptr, 0,
                                     KEY_SET_VALUE, nullptr, &hKey, nullptr);
    if (nError != ERROR_SUCCESS)
        return Fail("cannot create printer " + strName + ": error " + std::to_string(nError));
    // Wine's spooler names a printer by its "Name" value, which it writes
    // only when a process loads the printers: without it, a process already
    // running would list the new printer without a name.
    const std::pair<const char*, std::string> values[] = {{"Name", strName},
                                                          {"Printer Driver", strDriver},
                                                          {"Port", strPort},
                                                          {"Print Processor", "winprint"},
                                                          {"Datatype", "RAW"}};
    for (const auto& [pszValue, strData] : values) {
        if (nError == ERROR_SUCCESS)
            nError = RegSetValueExA(hKey, pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(strData.c_str()),
                                    static_cast<DWORD>(strData.size() + 1));
    }
    RegCloseKey(hKey);
    if (nError != ERROR_SUCCESS)
        return Fail("cannot write printer " + strName + ": error " + std::to_string(nError));
    TellPrintersChanged();
    return 0;
}

int RemovePrinter(const std::string& strName) {
    const LSTATUS nError = RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kPrintersKey + strName).c_str());
    if (nError != ERROR_SUCCESS && nError != ERROR_FILE_NOT_FOUND)
        return Fail("cannot remove printer " + strName + ": error " + std::to_string(nError));
    TellPrintersChanged();
    return 0;
}

int Driver(const std::vector<std::string>& args) {
    DWORD dwError = 0;
    if (args.size() == 3 && args[1] == "start") {
        dwError = CUsbDriverService::Install(args[2]);
        if (dwError == 0)
            dwError = CUsbDriverService::Start();
    } else if (args.size() == 2 && args[1] == "stop") {
        dwError = CUsbDriverService::Stop();
    } else {
        return 2;
    }
    return dwError == 0 ? 0 : Fail("driver " + args[1] + " failed: error " + std::to_string(dwError));
}

int Run(const std::vector<std::string>& args) {
    if (args[0] == "ping")
        return args.size() == 1 ? Ping() : 2;
    if (args[0] == "driver")
        return Driver(args);
    if (args[0] != "printer" || args.size() < 3)
        return 2;
    if (args[1] == "add" && args.size() == 5)
        return AddPrinter(args[2], args[3], args[4]);
    if (args[1] == "remove" && args.size() == 3)
        return RemovePrinter(args[2]);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int nResult = args.empty() ? 2 : Run(args);
    if (nResult == 2)
        std::fputs(kUsage, stderr);
    return nResult;
}
