// The port monitor's entry points called directly, as a spooler would call
// them, for what the spooler under test does not reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include "app/printpath/port_config.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

using InitializeFn = LPMONITOR2(WINAPI*)(PMONITORINIT, PHANDLE);

// The DLL loaded and initialised for one test, shut down and unloaded after it.
class CLoadedMonitor {
public:
    CLoadedMonitor() {
        m_hModule = LoadLibraryA(CTestPortMonitor::DllPath().c_str());
        EXPECT_NE(nullptr, m_hModule) << GetLastError();
        const auto pfnInitialize = reinterpret_cast<InitializeFn>(
            reinterpret_cast<void*>(GetProcAddress(m_hModule, "InitializePrintMonitor2")));
        EXPECT_NE(nullptr, pfnInitialize);
        if (!pfnInitialize)
            return;
        MONITORINIT init = {};
        init.cbSize = sizeof(init);
        init.bLocal = TRUE;
        m_pMonitor = pfnInitialize(&init, &m_hMonitor);
    }
    ~CLoadedMonitor() {
        if (m_pMonitor)
            m_pMonitor->pfnShutdown(m_hMonitor);
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    CLoadedMonitor(const CLoadedMonitor&) = delete;
    CLoadedMonitor& operator=(const CLoadedMonitor&) = delete;

    const MONITOR2* operator->() const { return m_pMonitor; }
    bool IsLoaded() const { return m_pMonitor != nullptr && m_hMonitor != nullptr; }
    HANDLE Handle() const { return m_hMonitor; }

private:
    HMODULE m_hModule = nullptr;
    LPMONITOR2 m_pMonitor = nullptr;
    HANDLE m_hMonitor = nullptr;
};

bool Inside(const void* p, const std::vector<BYTE>& buffer) {
    const BYTE* b = static_cast<const BYTE*>(p);
    return b >= buffer.data() && b < buffer.data() + buffer.size();
}

} // namespace

TEST(PortMonitorDll, EnumPortsAsksForTheSizeThenFillsTheBuffer) {
    CTestPortMonitor ports;
    const std::string strPort = UniqueName("NYDLL");
    ports.AddNetworkPort(strPort, "10.4.4.4", 9100);
    const CLoadedMonitor monitor;
    ASSERT_TRUE(monitor.IsLoaded());
    const std::wstring strWidePort(strPort.begin(), strPort.end());

    for (const DWORD dwLevel : {1u, 2u}) {
        SCOPED_TRACE(dwLevel);
        CTraceCapture trace;
        DWORD cbNeeded = 0, cbAgain = 0, cReturned = 7;
        ASSERT_FALSE(
            monitor->pfnEnumPorts(monitor.Handle(), nullptr, dwLevel, nullptr, 0, &cbNeeded, &cReturned));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
        EXPECT_EQ(0u, cReturned);
        std::vector<BYTE> buffer(cbNeeded, 0xCC);
        EXPECT_FALSE(monitor->pfnEnumPorts(monitor.Handle(), nullptr, dwLevel, buffer.data(), cbNeeded - 1,
                                           &cbAgain, &cReturned));
        EXPECT_EQ(cbNeeded, cbAgain);
        EXPECT_EQ(std::vector<BYTE>(cbNeeded, 0xCC), buffer);

        ASSERT_TRUE(monitor->pfnEnumPorts(monitor.Handle(), nullptr, dwLevel, buffer.data(), cbNeeded,
                                          &cbAgain, &cReturned));
        // Each entry's texts lie in the buffer; level 2 names the monitor.
        const auto* pLevel1 = reinterpret_cast<const PORT_INFO_1W*>(buffer.data());
        const auto* pLevel2 = reinterpret_cast<const PORT_INFO_2W*>(buffer.data());
        bool bFound = false;
        for (DWORD i = 0; i < cReturned; ++i) {
            const wchar_t* pszName = dwLevel == 1 ? pLevel1[i].pName : pLevel2[i].pPortName;
            EXPECT_TRUE(Inside(pszName, buffer));
            if (dwLevel == 2) {
                EXPECT_STREQ(L"Tessel TCP/IP Monitor", pLevel2[i].pMonitorName);
            }
            bFound = bFound || strWidePort == pszName;
        }
        EXPECT_TRUE(bFound);
        EXPECT_TRUE(trace.Lines().empty());
    }
}

TEST(PortMonitorDll, XcvEntryPointsRejectBadArguments) {
    CTestPortMonitor ports;
    const std::string strPort = UniqueName("NYARGS");
    ports.AddNetworkPort(strPort, "10.5.5.5", 9100);
    const CLoadedMonitor monitor;
    ASSERT_TRUE(monitor.IsLoaded());
    CTraceCapture trace;
    HANDLE hUnknown = reinterpret_cast<HANDLE>(1);
    EXPECT_FALSE(
        monitor->pfnXcvOpenPort(monitor.Handle(), L"NYNOSUCHPORT", SERVER_ACCESS_ADMINISTER, &hUnknown));
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PORT), GetLastError());
    EXPECT_EQ(nullptr, hUnknown);
    EXPECT_EQ(std::vector<std::string>{"CPortSettings::FindPort(NYNOSUCHPORT) : RegOpenKeyEx() returns 2\n"},
              trace.Lines());

    const std::wstring strWidePort(strPort.begin(), strPort.end());
    HANDLE hPortXcv = nullptr;
    ASSERT_TRUE(monitor->pfnXcvOpenPort(monitor.Handle(), strWidePort.c_str(), 0, &hPortXcv));
    HANDLE hMonitorXcv = nullptr;
    ASSERT_TRUE(monitor->pfnXcvOpenPort(monitor.Handle(), L"", 0, &hMonitorXcv));
    BYTE abReply[printpath::kConfigInfoSize];
    DWORD cbNeeded = 0;
    const struct {
        HANDLE hXcv;
        const wchar_t* pszDataName;
        BYTE* pOutput;
        DWORD* pcbNeeded;
        DWORD dwStatus;
        std::string strTrace;
    } cases[] = {
        {nullptr, L"GetConfigInfo", abReply, &cbNeeded, ERROR_INVALID_HANDLE,
         "CPortMonitor::XcvDataPort() : No handle\n"},
        {hPortXcv, L"GetConfigInfo", abReply, nullptr, ERROR_INVALID_PARAMETER,
         "CPortMonitor::XcvDataPort() : No place for the needed size\n"},
        {hPortXcv, nullptr, abReply, &cbNeeded, ERROR_INVALID_PARAMETER,
         "CXcvPort::Data(" + strPort + ") : Unknown data name \"(null)\"\n"},
        {hPortXcv, L"GetConfigInfo", nullptr, &cbNeeded, ERROR_INVALID_PARAMETER,
         "CXcvPort::GetConfigInfo(" + strPort + ") : No output buffer for 276 bytes\n"},
        {hMonitorXcv, L"GetConfigInfo", abReply, &cbNeeded, ERROR_INVALID_PARAMETER,
         "CXcvPort::GetConfigInfo() : The monitor has no configuration of its own\n"},
    };
    for (const auto& c : cases) {
        trace.Clear();
        EXPECT_EQ(c.dwStatus, monitor->pfnXcvDataPort(c.hXcv, c.pszDataName, nullptr, 0, c.pOutput,
                                                      sizeof(abReply), c.pcbNeeded));
        EXPECT_EQ(std::vector<std::string>{c.strTrace}, trace.Lines());
    }
    EXPECT_TRUE(monitor->pfnXcvClosePort(hPortXcv));
    EXPECT_TRUE(monitor->pfnXcvClosePort(hMonitorXcv));
}
