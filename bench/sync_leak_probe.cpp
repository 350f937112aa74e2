// Private memory per call of each spooler and device installation call
// pattern that a printer set synchronisation makes, and of the whole
// synchronisation through the monitoring core's own classes, with 16 printers
// in the prefix: eight on USB ports (simulated device nodes, found through the
// cfgmgr32 stand-in) and eight on network ports of the port monitor stand-in.
// Each pattern runs alone; the growth of the process's anonymous resident
// memory (RssAnon, read from the host's /proc, which Wine shows as Z:\proc)
// is printed per 100 calls, over two rounds, so that a one-time growth tells
// itself apart from a steady one.
//   sync_leak_probe.exe [CALLS]      (default 300 calls per round)
// Built on the test harness's helpers; not run by CTest (scripts/bench-sync-memory.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/printpath/port_config.h"
#include "app/printpath/printpath_names.h"
#include "devices/devices.h"
#include "devices/lan/lan_device.h"
#include "devices/usb/usb_device.h"
#include "devices/usb/usb_devices.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "monitor/device_control.h"
#include "monitor/dialog_monitor.h"
#include "monitor/tray_state.h"
#include "sim/usb/usb_setup.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "ui/status_window_source.h"

namespace {

int g_nCalls = 300;

constexpr int kPrintersPerRoad = 8;

// The host's status file of this process. Wine opens files in the wineserver,
// so Z:\proc\self would be the server's: the process is found instead as the
// host process whose first command-line argument is this program's image.
std::string OwnStatusPath() {
    char szImage[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szImage, MAX_PATH);
    const char* pszBase = std::strrchr(szImage, '\\');
    const std::string strBase = pszBase ? pszBase + 1 : szImage;
    WIN32_FIND_DATAA found = {};
    const CUniqueFind hFind(FindFirstFileA("Z:\\proc\\*", &found));
    if (!hFind)
        return std::string();
    std::string strStatus;
    do {
        if (found.cFileName[0] < '0' || found.cFileName[0] > '9')
            continue;
        const std::string strDir = std::string("Z:\\proc\\") + found.cFileName;
        FILE* pFile = std::fopen((strDir + "\\cmdline").c_str(), "rb");
        if (!pFile)
            continue;
        char szArg[1024] = {};
        const std::size_t cbRead = std::fread(szArg, 1, sizeof(szArg) - 1, pFile);
        std::fclose(pFile);
        const std::string strArg(szArg, strnlen(szArg, cbRead));
        if (strArg.size() >= strBase.size() &&
            _stricmp(strArg.c_str() + strArg.size() - strBase.size(), strBase.c_str()) == 0)
            strStatus = strDir + "\\status";
    } while (strStatus.empty() && FindNextFileA(hFind.Get(), &found));
    return strStatus;
}

// The process's anonymous resident memory in kB, as the host counts it; -1 when unreadable.
long RssAnonKb() {
    static const std::string s_strStatus = OwnStatusPath();
    FILE* pFile = std::fopen(s_strStatus.c_str(), "r");
    if (!pFile)
        return -1;
    long lKb = -1;
    char szLine[256];
    while (std::fgets(szLine, sizeof(szLine), pFile)) {
        if (std::strncmp(szLine, "RssAnon:", 8) == 0) {
            lKb = std::strtol(szLine + 8, nullptr, 10);
            break;
        }
    }
    std::fclose(pFile);
    return lKb;
}

// Runs fnCall a few times to warm up, then two rounds of g_nCalls calls, and
// prints the growth per 100 calls of each round.
void Measure(const char* pszName, const std::function<void()>& fnCall) {
    for (int i = 0; i < 20; ++i)
        fnCall();
    long alGrowth[2] = {};
    const DWORD dwStart = GetTickCount();
    for (long& lGrowth : alGrowth) {
        const long lBefore = RssAnonKb();
        for (int i = 0; i < g_nCalls; ++i)
            fnCall();
        lGrowth = RssAnonKb() - lBefore;
    }
    const double msPerCall = static_cast<double>(GetTickCount() - dwStart) / (2.0 * g_nCalls);
    std::printf("%-56s %8.1f %8.1f kB/100 calls %8.2f ms/call\n", pszName, alGrowth[0] * 100.0 / g_nCalls,
                alGrowth[1] * 100.0 / g_nCalls, msPerCall);
    std::fflush(stdout);
}

// A spooler enumeration asked for its size first, then filled: returns the count.
DWORD Enumerate(const std::function<BOOL(BYTE*, DWORD, DWORD*, DWORD*)>& fnEnum) {
    DWORD dwNeeded = 0;
    DWORD dwReturned = 0;
    fnEnum(nullptr, 0, &dwNeeded, &dwReturned);
    std::vector<BYTE> buffer(dwNeeded);
    if (!fnEnum(buffer.data(), dwNeeded, &dwNeeded, &dwReturned))
        return 0;
    return dwReturned;
}

using XcvDataFn = BOOL(WINAPI*)(HANDLE, PCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD, PDWORD);

XcvDataFn ResolveXcvData(HMODULE hSpooler) {
    return reinterpret_cast<XcvDataFn>(reinterpret_cast<void*>(GetProcAddress(hSpooler, "XcvDataW")));
}

void XcvConfigInfo(XcvDataFn pfnXcvData, const std::string& strPort) {
    std::string strXcvName = ",XcvPort " + strPort;
    HANDLE hXcv = nullptr;
    if (!OpenPrinterA(&strXcvName[0], &hXcv, nullptr))
        return;
    std::vector<BYTE> reply(printpath::kConfigInfoSize);
    DWORD dwNeeded = 0;
    DWORD dwStatus = 0;
    if (pfnXcvData)
        pfnXcvData(hXcv, printpath::kConfigInfoDataName, nullptr, 0, reply.data(),
                   static_cast<DWORD>(reply.size()), &dwNeeded, &dwStatus);
    ClosePrinter(hXcv);
}

// The print path's objects for a port, so that the devices read their status
// from shared memory and nothing goes over the network.
struct CPrintPathObjects {
    explicit CPrintPathObjects(const std::string& strPort)
        : hMutex(CreateMutexA(nullptr, FALSE, printpath::StatusMutexName(strPort, true).c_str())),
          hGlobalMapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                            printpath::StatusMappingName(strPort, true).c_str())),
          hLocalMapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                           printpath::LocalStatusMappingName(strPort).c_str())) {
        CDeviceStatus status;
        CUsbDevice::FillDefaultStatus(&status);
        for (HANDLE hMapping : {hGlobalMapping.Get(), hLocalMapping.Get()}) {
            CUniqueView view(MapViewOfFile(hMapping, FILE_MAP_WRITE, 0, 0, 0));
            if (view)
                std::memcpy(view.Get(), status.Data(), CDeviceStatus::kSize);
        }
    }
    CUniqueHandle hMutex;
    CUniqueHandle hGlobalMapping;
    CUniqueHandle hLocalMapping;
};

struct CUsbPrinter {
    explicit CUsbPrinter(int nIndex)
        : strPort("USB" + std::to_string(760 + nIndex)), objects(strPort),
          printer("Kestrel Probe USB " + std::to_string(nIndex), strPort, "Kestrel 2006") {
        usb.strSerial = "NYPROBE" + std::to_string(nIndex);
        usb.strPort = strPort;
        CSimUsbSetup::Install(usb);
    }
    ~CUsbPrinter() { CSimUsbSetup::Remove(usb); }

    std::string strPort;
    CPrintPathObjects objects;
    CTestPrinter printer;
    SimUsbPrinter usb;
};

// The tray as the monitor window sees it: nothing to show here.
class CSilentTray : public CTrayState {
public:
    void SetState(int) override {}
    void PostDestroy() override {}
};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

} // namespace

TEST(SyncLeakProbe, SixteenPrinters) {
    std::vector<std::unique_ptr<CUsbPrinter>> usbPrinters;
    for (int i = 0; i < kPrintersPerRoad; ++i)
        usbPrinters.push_back(std::make_unique<CUsbPrinter>(i));
    CTestPortMonitor portMonitor;
    std::vector<std::string> netPorts;
    std::vector<std::unique_ptr<CPrintPathObjects>> netObjects;
    std::vector<std::unique_ptr<CTestPrinter>> netPrinters;
    for (int i = 0; i < kPrintersPerRoad; ++i) {
        netPorts.push_back("NYPROBENET" + std::to_string(i));
        portMonitor.AddNetworkPort(netPorts.back(), "127.0.0.1", 19400 + i);
        netObjects.push_back(std::make_unique<CPrintPathObjects>(netPorts.back()));
        netPrinters.push_back(std::make_unique<CTestPrinter>("Kestrel Probe Net " + std::to_string(i),
                                                             netPorts.back(), "Kestrel 2006 WiFi"));
    }
    const std::string& strNetPort = netPorts.front();
    const std::string& strNetPrinter = netPrinters.front()->Name();
    std::printf("RssAnon at start: %ld kB (%s); %d calls per round\n", RssAnonKb(), OwnStatusPath().c_str(),
                g_nCalls);
    std::printf("%-56s %8s %8s\n", "pattern", "round 1", "round 2");

    Measure("EnumPrintersA level 2", [] {
        Enumerate([](BYTE* p, DWORD cb, DWORD* pcbNeeded, DWORD* pcReturned) {
            return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, p, cb, pcbNeeded, pcReturned);
        });
    });
    Measure("EnumPortsA level 2", [] {
        Enumerate([](BYTE* p, DWORD cb, DWORD* pcbNeeded, DWORD* pcReturned) {
            return EnumPortsA(nullptr, 2, p, cb, pcbNeeded, pcReturned);
        });
    });
    Measure("OpenPrinterA + GetPrinterA level 2 + ClosePrinter", [&] {
        HANDLE hPrinter = nullptr;
        if (!OpenPrinterA(const_cast<char*>(strNetPrinter.c_str()), &hPrinter, nullptr))
            return;
        Enumerate([&](BYTE* p, DWORD cb, DWORD* pcbNeeded, DWORD*) {
            return GetPrinterA(hPrinter, 2, p, cb, pcbNeeded);
        });
        ClosePrinter(hPrinter);
    });
    Measure("LoadLibrary + FreeLibrary WINSPOOL.DRV", [] { FreeLibrary(LoadLibraryA("WINSPOOL.DRV")); });
    Measure("OpenPrinterA(\",XcvPort\") + ClosePrinter", [&] { XcvConfigInfo(nullptr, strNetPort); });
    const XcvDataFn pfnXcvData = ResolveXcvData(GetModuleHandleA("WINSPOOL.DRV"));
    Measure("Xcv open + XcvDataW + close, library kept loaded",
            [&] { XcvConfigInfo(pfnXcvData, strNetPort); });
    Measure("Xcv with LoadLibrary/FreeLibrary around it", [&] {
        const HMODULE hSpooler = LoadLibraryA("WINSPOOL.DRV");
        XcvConfigInfo(ResolveXcvData(hSpooler), strNetPort);
        FreeLibrary(hSpooler);
    });
    Measure("SetupDi search (CUsbDevices::Synchronise)", [] {
        CUsbDevices devices;
        devices.Synchronise();
    });
    Measure("CDeviceControl::GetPortType (EnumPortsA), network port",
            [&] { CDeviceControl::GetPortType(strNetPort.c_str()); });
    // The port monitor's DLL loaded and unloaded as the spooler does it in this process.
    const std::string strMonitorDll = CTestPortMonitor::DllPath();
    Measure("LoadLibrary + FreeLibrary of the port monitor's DLL",
            [&] { FreeLibrary(LoadLibraryA(strMonitorDll.c_str())); });
    Measure("CLanDevice::GetPortInfo2K (Xcv), network port", [&] {
        std::string strAddress;
        DWORD dwTcpPort = 0;
        CLanDevice::GetPortInfo2K(strNetPort, strAddress, dwTcpPort);
    });

    std::vector<std::string> allPorts = netPorts;
    for (const auto& pPrinter : usbPrinters)
        allPorts.push_back(pPrinter->strPort);
    Measure("look-ups of a synchronisation asked anew (16 ports)", [&] {
        for (const std::string& strPort : allPorts) {
            if (CDeviceControl::GetPortType(strPort.c_str()) != CDeviceControl::kPortNetwork)
                continue;
            std::string strAddress;
            DWORD dwTcpPort = 0;
            CLanDevice::GetPortInfo2K(strPort, strAddress, dwTcpPort);
        }
    });

    // The monitor window as the agent has it, taking the system's notifications.
    CDevices devices;
    CNyAgentWindows windows;
    CSilentTray tray;
    CDialogMonitor monitor(devices, windows, TRUE);
    ASSERT_TRUE(monitor.Create(nullptr));
    const HWND hMonitor = monitor.GetSafeHwnd();
    SendMessageA(hMonitor, CDialogMonitor::kMessageInit,
                 reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&tray)), 0);
    Pump();
    int nConnected = 0;
    monitor.GetPrinters().ForEach(
        [&](const CDeviceControl& control) { nConnected += control.IsConnected() ? 1 : 0; });
    std::printf("printer set: %u printers, %d connected\n",
                static_cast<unsigned>(monitor.GetPrinters().GetCount()), nConnected);
    const auto deviceChange = [&] {
        SendMessageA(hMonitor, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        Pump();
    };
    Measure("CDevices::GetLink, network port", [&] {
        std::string strLink;
        devices.GetLink(strNetPort, strLink);
    });
    Measure("WM_DEVICECHANGE, nothing changed (one sync)", deviceChange);
    // A printer leaves the spooler and comes back: one removal and one addition.
    std::unique_ptr<CTestPrinter>& pChurn = netPrinters.back();
    const std::string strChurnPort = netPorts.back();
    Measure("WM_DEVICECHANGE, one network printer removed or added", [&] {
        if (pChurn)
            pChurn.reset();
        else
            pChurn = std::make_unique<CTestPrinter>("Kestrel Probe Net 7", strChurnPort, "Kestrel 2006 WiFi");
        deviceChange();
    });
    // What the look-ups cost when they are made again: a port's address
    // changed before each sync (its connected printer keeps its old link).
    bool bOtherAddress = false;
    Measure("WM_DEVICECHANGE after a port's address changed", [&] {
        bOtherAddress = !bOtherAddress;
        portMonitor.SetString(strNetPort, printpath::kIpAddressValue,
                              bOtherAddress ? "127.0.0.2" : "127.0.0.1");
        deviceChange();
    });
    monitor.RemoveAllPrinters();
    monitor.DestroyWindow();
    Pump();
    std::printf("RssAnon at end: %ld kB\n", RssAnonKb());
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_nCalls = std::max(1, std::atoi(argv[1]));
    return RUN_ALL_TESTS();
}
