#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>
#include <winspool.h>

#include "app/printpath/port_config.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

using XcvDataFn = BOOL(WINAPI*)(HANDLE, PCWSTR, PBYTE, DWORD, PBYTE, DWORD, PDWORD, PDWORD);

// One configuration query through the spooler, the way the agent makes it.
struct XcvAnswer {
    BOOL bResult = FALSE;
    DWORD dwStatus = 0xDEAD;
    DWORD cbNeeded = 0xDEAD;
    std::vector<BYTE> reply;
};

// Opens ",XcvPort NAME" and the spooler's XcvDataW, and closes both again.
class CXcvChannel {
public:
    explicit CXcvChannel(const std::string& strPort) {
        m_hSpooler = LoadLibraryA("WINSPOOL.DRV");
        m_pXcvData =
            reinterpret_cast<XcvDataFn>(reinterpret_cast<void*>(GetProcAddress(m_hSpooler, "XcvDataW")));
        std::string strName = ",XcvPort " + strPort;
        if (!OpenPrinterA(&strName[0], &m_hXcv, nullptr)) {
            m_dwOpenError = GetLastError();
            m_hXcv = nullptr;
        }
    }
    ~CXcvChannel() {
        if (m_hXcv)
            ClosePrinter(m_hXcv);
        FreeLibrary(m_hSpooler);
    }
    CXcvChannel(const CXcvChannel&) = delete;
    CXcvChannel& operator=(const CXcvChannel&) = delete;

    bool IsOpen() const { return m_hXcv != nullptr && m_pXcvData != nullptr; }
    DWORD OpenError() const { return m_dwOpenError; }

    XcvAnswer Query(const wchar_t* pszDataName, DWORD cbOutput) const {
        XcvAnswer answer;
        answer.reply.assign(std::max<DWORD>(cbOutput, 1), 0xCC);
        answer.bResult = m_pXcvData(m_hXcv, pszDataName, nullptr, 0, answer.reply.data(), cbOutput,
                                    &answer.cbNeeded, &answer.dwStatus);
        return answer;
    }

private:
    HMODULE m_hSpooler = nullptr;
    XcvDataFn m_pXcvData = nullptr;
    HANDLE m_hXcv = nullptr;
    DWORD m_dwOpenError = 0;
};

std::vector<BYTE> ExpectedReply(const std::string& strAddress, DWORD dwTcpPort) {
    std::vector<BYTE> reply(printpath::kConfigInfoSize);
    EXPECT_TRUE(printpath::BuildConfigInfo({strAddress, dwTcpPort}, reply.data()));
    return reply;
}

// The spooler's port list at level 2, as the agent reads it.
std::vector<PORT_INFO_2A> EnumPorts2(std::vector<BYTE>& buffer) {
    DWORD cbNeeded = 0;
    DWORD cReturned = 0;
    EXPECT_FALSE(EnumPortsA(nullptr, 2, nullptr, 0, &cbNeeded, &cReturned));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    buffer.assign(cbNeeded, 0);
    EXPECT_TRUE(EnumPortsA(nullptr, 2, buffer.data(), cbNeeded, &cbNeeded, &cReturned));
    const PORT_INFO_2A* pPorts = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    return std::vector<PORT_INFO_2A>(pPorts, pPorts + cReturned);
}

// A trace line of the monitor, formatted with the port's name.
std::string PortLine(const char* pszFormat, const std::string& strPort) {
    char szLine[512];
    snprintf(szLine, sizeof(szLine), pszFormat, strPort.c_str());
    return szLine;
}

const PORT_INFO_2A* FindPort(const std::vector<PORT_INFO_2A>& ports, const std::string& strPort) {
    for (const PORT_INFO_2A& port : ports) {
        if (port.pPortName && strPort == port.pPortName)
            return &port;
    }
    return nullptr;
}

} // namespace

TEST(PortMonitorSpooler, EnumPortsListsEachPortWithTheMonitorsName) {
    CTestPortMonitor monitor;
    const std::string strConfigured = UniqueName("IP_10.0.0.");
    const std::string strBare = UniqueName("NYBARE");
    monitor.AddNetworkPort(strConfigured, "10.0.0.5", 9100);
    monitor.AddBarePort(strBare);

    std::vector<BYTE> buffer;
    const std::vector<PORT_INFO_2A> ports = EnumPorts2(buffer);
    for (const std::string& strPort : {strConfigured, strBare}) {
        SCOPED_TRACE(strPort);
        const PORT_INFO_2A* pPort = FindPort(ports, strPort);
        ASSERT_NE(nullptr, pPort);
        EXPECT_STREQ("Tessel TCP/IP Monitor", pPort->pMonitorName);
        EXPECT_STREQ("Tessel TCP/IP Port", pPort->pDescription);
        EXPECT_EQ(static_cast<DWORD>(PORT_TYPE_WRITE | PORT_TYPE_NET_ATTACHED), pPort->fPortType);
    }

    DWORD cbNeeded = 0;
    DWORD cReturned = 0;
    EnumPortsA(nullptr, 1, nullptr, 0, &cbNeeded, &cReturned);
    std::vector<BYTE> names(cbNeeded);
    ASSERT_TRUE(EnumPortsA(nullptr, 1, names.data(), cbNeeded, &cbNeeded, &cReturned));
    const PORT_INFO_1A* pNames = reinterpret_cast<const PORT_INFO_1A*>(names.data());
    const auto HasName = [&](const std::string& strPort) {
        return std::any_of(pNames, pNames + cReturned,
                           [&](const PORT_INFO_1A& info) { return strPort == info.pName; });
    };
    EXPECT_TRUE(HasName(strConfigured));
    EXPECT_TRUE(HasName(strBare));
}

TEST(PortMonitorSpooler, GetConfigInfoGivesAddressAndPort) {
    CTestPortMonitor monitor;
    const std::string strPort = UniqueName("IP_192.168.7.");
    monitor.AddNetworkPort(strPort, "192.168.7.31", 9101);
    CXcvChannel channel(strPort);
    ASSERT_TRUE(channel.IsOpen()) << channel.OpenError();
    CTraceCapture trace;

    const XcvAnswer answer = channel.Query(L"GetConfigInfo", printpath::kConfigInfoSize);
    EXPECT_TRUE(answer.bResult);
    EXPECT_EQ(0u, answer.dwStatus);
    EXPECT_EQ(printpath::kConfigInfoSize, answer.cbNeeded);
    EXPECT_EQ(ExpectedReply("192.168.7.31", 9101), answer.reply);
    const printpath::PortConfig config = printpath::ParseConfigInfo(answer.reply.data());
    EXPECT_EQ("192.168.7.31", config.strAddress);
    EXPECT_EQ(9101u, config.dwTcpPort);
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(PortMonitorSpooler, EveryQueryReadsTheSettingsAfresh) {
    CTestPortMonitor monitor;
    const std::string strPort = UniqueName("NYFRESH");
    monitor.AddNetworkPort(strPort, "10.1.1.1", 9100);
    CXcvChannel channel(strPort);
    ASSERT_TRUE(channel.IsOpen()) << channel.OpenError();
    EXPECT_EQ(ExpectedReply("10.1.1.1", 9100),
              channel.Query(L"GetConfigInfo", printpath::kConfigInfoSize).reply);

    monitor.SetString(strPort, "IPAddress", "10.2.2.2");
    monitor.SetDWORD(strPort, "PortNumber", 6000);
    EXPECT_EQ(ExpectedReply("10.2.2.2", 6000),
              channel.Query(L"GetConfigInfo", printpath::kConfigInfoSize).reply);
}

TEST(PortMonitorSpooler, PortWithoutKeyCannotBeOpened) {
    CTestPortMonitor monitor;
    const CXcvChannel channel(UniqueName("NYNOKEY"));
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PORT), channel.OpenError());
}

TEST(PortMonitorSpooler, QueriesThatFail) {
    struct Case {
        const char* pszName;
        std::string strAddress; // empty: a port key without settings
        const wchar_t* pszDataName;
        DWORD cbOutput;
        DWORD dwStatus;
        DWORD cbNeeded;
        const char* pszTrace; // %s is the port name
    };
    const Case cases[] = {
        {"port without settings", "", L"GetConfigInfo", 276, ERROR_FILE_NOT_FOUND, 0,
         "CPortSettings::ReadPort(%s) : RegGetValue(IPAddress) returns 2\n"},
        {"buffer one byte short", "10.0.0.7", L"GetConfigInfo", 275, ERROR_INSUFFICIENT_BUFFER, 276, nullptr},
        {"unknown data name", "10.0.0.7", L"GetConfig", 276, ERROR_INVALID_PARAMETER, 0,
         "CXcvPort::Data(%s) : Unknown data name \"GetConfig\"\n"},
        {"address too long for the reply", "192.168.100.1000", L"GetConfigInfo", 276, ERROR_INVALID_DATA, 0,
         "CXcvPort::GetConfigInfo(%s) : IPAddress \"192.168.100.1000\" does not fit the reply\n"},
        {"address longer than the monitor reads", std::string(300, '1'), L"GetConfigInfo", 276,
         ERROR_INVALID_DATA, 0, "CPortSettings::ReadPort(%s) : RegGetValue(IPAddress) returns 234\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTestPortMonitor monitor;
        const std::string strPort = UniqueName("NYFAIL");
        if (c.strAddress.empty())
            monitor.AddBarePort(strPort);
        else
            monitor.AddNetworkPort(strPort, c.strAddress, 9100);
        CXcvChannel channel(strPort);
        ASSERT_TRUE(channel.IsOpen()) << channel.OpenError();
        CTraceCapture trace;

        const XcvAnswer answer = channel.Query(c.pszDataName, c.cbOutput);
        EXPECT_TRUE(answer.bResult);
        EXPECT_EQ(c.dwStatus, answer.dwStatus);
        EXPECT_EQ(c.cbNeeded, answer.cbNeeded);
        // A failed query leaves the caller's buffer as it was.
        EXPECT_EQ(std::vector<BYTE>(answer.reply.size(), 0xCC), answer.reply);
        std::vector<std::string> expected;
        if (c.pszTrace)
            expected.push_back(PortLine(c.pszTrace, strPort));
        EXPECT_EQ(expected, trace.Lines());
    }
}

TEST(PortMonitorSpooler, UnusablePortNumberGivesTheDefault) {
    struct Case {
        const char* pszName;
        void (*pfnSetUp)(CTestPortMonitor& monitor, const std::string& strPort);
        const char* pszTrace; // %s is the port name
    };
    const Case cases[] = {
        {"missing", [](CTestPortMonitor& m, const std::string& p) { m.DeleteValue(p, "PortNumber"); },
         "CPortSettings::ReadPort(%s) : RegGetValue(PortNumber) returns 2, using 9100\n"},
        {"stored as text",
         [](CTestPortMonitor& m, const std::string& p) { m.SetString(p, "PortNumber", "515"); },
         "CPortSettings::ReadPort(%s) : RegGetValue(PortNumber) returns 1630, using 9100\n"},
        {"above 65535", [](CTestPortMonitor& m, const std::string& p) { m.SetDWORD(p, "PortNumber", 70000); },
         "CPortSettings::ReadPort(%s) : PortNumber 70000 is out of range, using 9100\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTestPortMonitor monitor;
        const std::string strPort = UniqueName("NYPORTNO");
        monitor.AddNetworkPort(strPort, "10.3.3.3", 515);
        c.pfnSetUp(monitor, strPort);
        CXcvChannel channel(strPort);
        ASSERT_TRUE(channel.IsOpen()) << channel.OpenError();
        CTraceCapture trace;

        const XcvAnswer answer = channel.Query(L"GetConfigInfo", printpath::kConfigInfoSize);
        EXPECT_EQ(0u, answer.dwStatus);
        EXPECT_EQ(ExpectedReply("10.3.3.3", 9100), answer.reply);
        EXPECT_EQ(std::vector<std::string>{PortLine(c.pszTrace, strPort)}, trace.Lines());
    }
}
