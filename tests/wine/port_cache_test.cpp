// The port look-ups that the devices keep between synchronisations: the port
// monitor stand-in is asked again only after the port configuration changed.
#include <gtest/gtest.h>

#include <winternl.h>

#include <atomic>
#include <string>

#include "devices/devices.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

// Counts the loads of the port monitor stand-in into this process: Wine's
// spooler loads every port monitor for each port enumeration and each port
// configuration request.
class CMonitorLoads {
public:
    CMonitorLoads() {
        EXPECT_EQ(0, Ntdll<RegisterFn>("LdrRegisterDllNotification")(0, OnNotification, this, &m_pCookie));
    }
    ~CMonitorLoads() { Ntdll<UnregisterFn>("LdrUnregisterDllNotification")(m_pCookie); }
    // The loads since the last call.
    int Take() { return m_nLoads.exchange(0); }

private:
    // The loaded module's data begins with its full and its base name.
    struct CLoaded {
        ULONG ulFlags;
        const UNICODE_STRING* pFullDllName;
        const UNICODE_STRING* pBaseDllName;
    };
    using NotificationFn = void(CALLBACK*)(ULONG, const CLoaded*, void*);
    using RegisterFn = LONG(NTAPI*)(ULONG, NotificationFn, void*, void**);
    using UnregisterFn = LONG(NTAPI*)(void*);

    template <class Fn> static Fn Ntdll(const char* pszName) {
        return reinterpret_cast<Fn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), pszName)));
    }
    static void CALLBACK OnNotification(ULONG ulReason, const CLoaded* pLoaded, void* pContext) {
        const UNICODE_STRING& name = *pLoaded->pBaseDllName;
        const std::wstring strName(name.Buffer, name.Length / sizeof(wchar_t));
        if (ulReason == 1 && _wcsicmp(strName.c_str(), L"NyPortMon.dll") == 0)
            ++static_cast<CMonitorLoads*>(pContext)->m_nLoads;
    }

    std::atomic<int> m_nLoads{0};
    void* m_pCookie = nullptr;
};

} // namespace

TEST(PortCache, AsksThePortMonitorAgainOnlyAfterThePortConfigurationChanged) {
    CTestPortMonitor monitor;
    const std::string strPort = UniqueName("NYCACHE");
    const std::string strLater = UniqueName("NYLATER");
    monitor.AddBarePort(strPort);
    monitor.SetString(strPort, "IPAddress", "127.0.0.5");
    // Without a port number the monitor traces its default at every read of the port's settings.
    const std::string strRead =
        "CPortSettings::ReadPort(" + strPort + ") : RegGetValue(PortNumber) returns 2, using 9100\n";
    CDevices devices;
    CTraceCapture trace;
    CMonitorLoads loads;
    enum class Change { kNone, kAddress, kLaterPort, kPortNumber };
    const struct {
        Change change;
        bool bAsks; // the first synchronisation asks the spooler
        const char* pszLink;
        int nReads;
        int nLaterType;
    } steps[] = {
        {Change::kNone, true, "127.0.0.5:9100", 1, 0}, // nothing kept yet
        {Change::kNone, false, "127.0.0.5:9100", 1, 0},      {Change::kAddress, true, "127.0.0.6:9100", 2, 0},
        {Change::kLaterPort, true, "127.0.0.6:9100", 3, 2},  {Change::kNone, false, "127.0.0.6:9100", 3, 2},
        {Change::kPortNumber, true, "127.0.0.6:9101", 3, 2},
    };
    for (const auto& step : steps) {
        if (step.change == Change::kAddress)
            monitor.SetString(strPort, "IPAddress", "127.0.0.6");
        else if (step.change == Change::kLaterPort)
            monitor.AddBarePort(strLater);
        else if (step.change == Change::kPortNumber)
            monitor.SetDWORD(strPort, "PortNumber", 9101);
        for (int nSync = 0; nSync < 3; ++nSync) {
            devices.Synchronise();
            std::string strLink;
            EXPECT_TRUE(devices.GetLink(strPort, strLink));
            EXPECT_EQ(step.pszLink, strLink);
            EXPECT_EQ(2, devices.GetPortType(strPort.c_str()));
            EXPECT_EQ(step.nLaterType, devices.GetPortType(strLater.c_str()));
            EXPECT_EQ(nSync == 0 && step.bAsks, loads.Take() > 0) << step.pszLink << " " << nSync;
        }
        EXPECT_EQ(step.nReads, trace.Count(strRead)) << step.pszLink;
    }
}
