// The monitoring core on Wine's spooler: the printer set following the family's
// printers and their links, and the controller of one printer.
#include <gtest/gtest.h>

#include <memory>

#include "devices/lan/lan_device.h"
#include "app/strings.h"
#include "devices/shared/def_device.h"
#include "resources/string_ids.h"
#include "sim/port_publisher.h"
#include "ui/status_window_source.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/monitor_harness.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"
#include "tests/wine/winsock_environment.h"

TEST(Printers, ConnectAndDisconnectAsTheLinkComesAndGoes) {
    CMonitorHarness harness;
    CTestPortMonitor monitor;
    // A printer on a port of the port monitor, whose print path publishes the
    // network device's start-up record: its first read finds nothing new.
    const std::string strPort = UniqueName("NYNET");
    CPortPublisher printPath(strPort);
    const CTestPrinter printer(UniqueName("Kestrel Net "), strPort, "Kestrel 2006 WiFi");
    monitor.AddNetworkPort(strPort, "127.0.0.1", 9100);
    ASSERT_EQ(0u, printPath.Open());
    ASSERT_EQ(0u, printPath.Publish(CLanDevice::StartupRecord(), 1000));
    const struct {
        const char* pszIpAddress; // null: the port has no address, so no link
        BOOL bConnected;
        std::vector<UINT> messages;
    } steps[] = {
        {nullptr, FALSE, {}}, // added without a link
        {"127.0.0.1", TRUE, {WM_NY_REFRESH, WM_NY_CONNECTED}},
        {"127.0.0.2", TRUE, {}}, // keeps its old link
        {nullptr, FALSE, {WM_NY_DISCONNECTED, WM_NY_REFRESH}},
        {nullptr, FALSE, {}},
        {"127.0.0.1", TRUE, {WM_NY_REFRESH, WM_NY_CONNECTED}},
    };
    const CDeviceControl* pFirst = nullptr;
    for (const auto& step : steps) {
        if (step.pszIpAddress)
            monitor.SetString(strPort, "IPAddress", step.pszIpAddress);
        else
            monitor.DeleteValue(strPort, "IPAddress");
        harness.Synchronise();
        const CDeviceControl* pControl = harness.Find(printer.Name());
        ASSERT_TRUE(pControl && (!pFirst || pControl == pFirst));
        pFirst = pControl;
        EXPECT_EQ(step.bConnected, pControl->IsConnected());
        EXPECT_EQ(step.messages, harness.TakeMessages());
    }
}

TEST(DeviceControl, PortTypes) {
    CTestPortMonitor monitor;
    const std::string strNetwork = UniqueName("NYNET");
    const std::string strBare = UniqueName("NYBARE");
    monitor.AddNetworkPort(strNetwork, "127.0.0.1", 9100);
    monitor.AddBarePort(strBare);
    const std::pair<std::string, int> cases[] = {
        {"USB001", 1},   {"USB1", 1},  {"USB0012", 1},
        {"usb001", 0},   {"USB", 0},   {"LPT1", 0},
        {strNetwork, 2}, {strBare, 2}, {"n" + strNetwork.substr(1), 0},
        {"NYNET", 0}, // only a part of a network port's name
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, CDeviceControl::GetPortType(c.first.c_str())) << c.first;
    // The monitor's name in any letter case.
    EXPECT_TRUE(CDeviceControl::IsMonitoredPort("NET1", "tessel tcp/ip MONITOR", "NET1"));
    EXPECT_TRUE(CDeviceControl::IsMonitoredPort("NET1", "NYRAPM9X.DLL", "NET1"));
    EXPECT_FALSE(CDeviceControl::IsMonitoredPort("NET1", "Local Port", "NET1"));
}

TEST(DeviceControl, PrinterDataStandsInWhenThePrinterAnswersNothing) {
    CMonitorHarness harness;
    CTraceCapture trace;
    const std::string strPort = UniqueName("USB");
    CTestPrinter printer(UniqueName("Kestrel Data "), strPort, "Kestrel 2006");
    printer.SetPrinterData("SerialNumber", "NY0042");
    printer.SetPrinterData("FirmwareVersion", "1.23");
    // The setting chooses the shared-memory device, which finds no status block.
    CDeviceControl control(harness.m_monitor.GetSafeHwnd(), harness.m_windows, harness.m_devices, TRUE,
                           printer.Name().c_str(), strPort.c_str(), "\\\\?\\usb#none");
    EXPECT_EQ(1, trace.Count("CNyDevice::CNyDevice() : OpenFileMapping() failed. GetLastError() = 2\n"));
    CDeviceInformation information;
    control.ReadDeviceInformation(information);
    EXPECT_TRUE(information.m_bPrinterInfo && !information.m_bStatus && !information.m_bInfo);
    EXPECT_EQ("1.23/NY0042", information.m_strFirmwareVersion + "/" + information.m_strSerialNumber);
}

namespace {

// The spooler's enumeration failing as when a printer comes between its two calls.
class CFailingPrinters : public CPrinters {
public:
    using CPrinters::CPrinters;
    bool m_bFail = false;

protected:
    DWORD EnumeratePrinterNames(std::vector<std::string>& names) const override {
        return m_bFail ? ERROR_INSUFFICIENT_BUFFER : CPrinters::EnumeratePrinterNames(names);
    }
};

// When each CStopOrderDevice is asked to stop and when it goes.
std::vector<std::string> g_stopEvents;

class CStopOrderDevice : public CDefDevice {
public:
    using CDefDevice::CDefDevice;
    ~CStopOrderDevice() override { g_stopEvents.push_back("delete"); }
    void SignalStop() override { g_stopEvents.push_back("signal"); }
};

// The devices of every printer made as Device, on its port.
template <class Device> class CDevicesOf : public CDevices {
public:
    std::unique_ptr<CDevice> CreateDevice(int, BOOL, CDeviceNotify* pControl, const char* pszPrinterName,
                                          const char* pszPort, const char*) override {
        return std::make_unique<Device>(pControl, pszPrinterName, pszPort, pszPort);
    }
};

} // namespace

// The set follows the spooler's family printers, a controller staying with
// its printer. A failed enumeration leaves the set as it was, and is reported
// for another try; removing printers asks every device to stop before the
// first is waited for.
TEST(Printers, FollowTheFamilyPrintersKeepTheSetOnAFailureAndStopTogether) {
    CNyAgentWindows windows;
    CDevicesOf<CStopOrderDevice> devices;
    CFailingPrinters printers(windows, FALSE);
    const std::string strPrefix = UniqueName("Kestrel Sync ");
    auto pA = std::make_unique<CTestPrinter>(strPrefix + "A", "LPT1", "Kestrel 2004");
    const CTestPrinter b(strPrefix + "B", "LPT1", "Kestrel 2005"), c(strPrefix + "C", "LPT1", "kestrel 2005");
    EXPECT_EQ(0u, printers.Synchronise(devices));
    const CDeviceControl* pB = FindControl(printers, b.Name());
    EXPECT_TRUE(pB && FindControl(printers, strPrefix + "A") && !FindControl(printers, c.Name()));
    pA.reset(new CTestPrinter(strPrefix + "E", "LPT1", "Kestrel 2004")); // A renamed
    EXPECT_EQ(0u, printers.Synchronise(devices));
    EXPECT_TRUE(!FindControl(printers, strPrefix + "A") && FindControl(printers, strPrefix + "E"));
    EXPECT_EQ(pB, FindControl(printers, b.Name()));

    const std::size_t nCount = printers.GetCount();
    g_stopEvents.clear();
    printers.m_bFail = true;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), printers.Synchronise(devices));
    EXPECT_EQ(nCount, printers.GetCount());
    EXPECT_TRUE(g_stopEvents.empty());
    printers.RemoveAllPrinters();
    std::vector<std::string> expected(nCount, "signal");
    expected.resize(2 * nCount, "delete");
    EXPECT_EQ(expected, g_stopEvents);
    EXPECT_EQ(0u, printers.GetCount());
}

namespace {

// A device whose record the test sets and tells, as its polling thread would.
class CToldDevice : public CDefDevice {
public:
    using CDefDevice::CDefDevice;
    void Tell(std::uint8_t bState) {
        SetCurrentStatus(Record(bState, 0, 0));
        m_pDeviceControl->RefreshDisplay();
    }
};

// Status windows whose device reads the printer just after the window has
// shown its record, before the window's creation has returned.
class CLateReadWindows : public CStatusWindowSource {
    class CWindow : public CNyAgentDlg {
    public:
        explicit CWindow(CDeviceControl* pControl) : CNyAgentDlg(pControl, nullptr), m_pControl(pControl) {}
        BOOL OnInitDialog() override {
            const BOOL bFocus = CNyAgentDlg::OnInitDialog();
            static_cast<CToldDevice&>(m_pControl->GetDevice()).Tell(kStateReady);
            return bFocus;
        }

    private:
        CDeviceControl* m_pControl;
    };

public:
    std::unique_ptr<CDialog> CreateStatusWindow(CDeviceControl* pControl) override {
        return std::make_unique<CWindow>(pControl);
    }
};

} // namespace

// A printer that answers while its window is being made is shown, not left
// at the record the window was made with: its state may never change again.
TEST(DeviceControl, ARecordReadWhileTheWindowIsMadeIsShown) {
    CMonitorHarness harness;
    CLateReadWindows windows;
    CDevicesOf<CToldDevice> devices;
    const std::string strName = UniqueName("Kestrel Late ");
    const CDeviceControl control(harness.m_monitor.GetSafeHwnd(), windows, devices, FALSE, strName.c_str(),
                                 "LPT1", "LPT1");
    harness.TakeMessages();
    char szState[256] = "";
    GetDlgItemTextA(FindWindowA("#32770", strName.c_str()), IDC_STATIC_MESSAGE, szState, sizeof(szState));
    EXPECT_EQ(LoadString(IDS_READY), szState);
}
