// The TCP/IP port monitor stand-in through Wine's spooler, which loads it on
// every call (its port list is tested with the agent's port types).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <winspool.h>

#include "app/format.h"
#include "sim/portmon/config_info.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

using XcvDataFn = BOOL(WINAPI*)(HANDLE, PCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD, PDWORD);

struct XcvAnswer {
    BOOL bResult = FALSE;
    DWORD dwStatus = 0xDEAD;
    DWORD cbNeeded = 0xDEAD;
    std::vector<BYTE> reply;
};

// Opens ",XcvPort NAME" and asks it once for "GetConfigInfo" through the
// spooler's XcvDataW, the way the agent does.
XcvAnswer Query(const std::string& strPort) {
    XcvAnswer answer;
    answer.reply.assign(printpath::kConfigInfoSize, 0xCC);
    const HMODULE hSpooler = LoadLibraryA("WINSPOOL.DRV");
    const auto pfnXcvData =
        reinterpret_cast<XcvDataFn>(reinterpret_cast<void*>(GetProcAddress(hSpooler, "XcvDataW")));
    std::string strName = ",XcvPort " + strPort;
    HANDLE hXcv = nullptr;
    const BOOL bOpen = OpenPrinterA(&strName[0], &hXcv, nullptr);
    EXPECT_TRUE(bOpen) << GetLastError();
    if (bOpen) {
        answer.bResult = pfnXcvData(hXcv, L"GetConfigInfo", nullptr, 0, answer.reply.data(),
                                    printpath::kConfigInfoSize, &answer.cbNeeded, &answer.dwStatus);
        ClosePrinter(hXcv);
    }
    FreeLibrary(hSpooler);
    return answer;
}

std::vector<BYTE> ExpectedReply(const std::string& strAddress, DWORD dwTcpPort) {
    std::vector<BYTE> reply(printpath::kConfigInfoSize);
    EXPECT_TRUE(printpath::BuildConfigInfo({strAddress, dwTcpPort}, reply.data()));
    return reply;
}

} // namespace

// The second answer must not come from what the monitor kept of the first.
TEST(PortMonitorSpooler, EveryQueryReadsTheSettingsAfresh) {
    CTestPortMonitor monitor;
    const std::string strPort = UniqueName("NYFRESH");
    monitor.AddNetworkPort(strPort, "192.168.7.31", 9101);
    EXPECT_EQ(ExpectedReply("192.168.7.31", 9101), Query(strPort).reply);
    monitor.SetString(strPort, "IPAddress", "10.2.2.2");
    monitor.SetDWORD(strPort, "PortNumber", 6000);
    EXPECT_EQ(ExpectedReply("10.2.2.2", 6000), Query(strPort).reply);
}

TEST(PortMonitorSpooler, QueriesThatFailOrFallBack) {
    // pszAddress null: a port key without settings. The port number is stored
    // as set up; a reply, when there is one, carries 9100.
    const struct {
        const char* pszAddress;
        void (*pfnSetUp)(CTestPortMonitor& monitor, const std::string& strPort);
        DWORD dwStatus;
        const char* pszTrace; // %s is the port name
    } cases[] = {
        {nullptr, nullptr, ERROR_FILE_NOT_FOUND,
         "CPortSettings::ReadPort(%s) : RegGetValue(IPAddress) returns 2\n"},
        {"192.168.100.1000", nullptr, ERROR_INVALID_DATA,
         "CXcvPort::GetConfigInfo(%s) : IPAddress \"192.168.100.1000\" does not fit the reply\n"},
        {"10.3.3.3", [](CTestPortMonitor& m, const std::string& p) { m.SetString(p, "PortNumber", "515"); },
         0, "CPortSettings::ReadPort(%s) : RegGetValue(PortNumber) returns 1630, using 9100\n"},
        {"10.3.3.3", [](CTestPortMonitor& m, const std::string& p) { m.SetDWORD(p, "PortNumber", 70000); }, 0,
         "CPortSettings::ReadPort(%s) : PortNumber 70000 is out of range, using 9100\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTrace);
        CTestPortMonitor monitor;
        const std::string strPort = UniqueName("NYFAIL");
        if (c.pszAddress)
            monitor.AddNetworkPort(strPort, c.pszAddress, 515);
        else
            monitor.AddBarePort(strPort);
        if (c.pfnSetUp)
            c.pfnSetUp(monitor, strPort);
        CTraceCapture trace;
        const XcvAnswer answer = Query(strPort);
        EXPECT_TRUE(answer.bResult);
        EXPECT_EQ(c.dwStatus, answer.dwStatus);
        EXPECT_EQ(c.dwStatus ? 0u : 276u, answer.cbNeeded);
        // A failed query leaves the caller's buffer as it was.
        EXPECT_EQ(c.dwStatus ? std::vector<BYTE>(276, 0xCC) : ExpectedReply(c.pszAddress, 9100),
                  answer.reply);
        EXPECT_EQ(std::vector<std::string>{Format(c.pszTrace, strPort.c_str())}, trace.Lines());
    }
}
