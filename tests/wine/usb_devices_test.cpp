// USB printer discovery against Wine's SetupAPI: simulated printers installed
// in the prefix's device registry, and the stand-in cfgmgr32.dll beside the
// program naming the printer node below each device.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/winver.h"
#include "devices/usb/usb_devices.h"
#include "sim/usb/usb_setup.h"
#include "tests/common/trace_capture.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
enum class System { Nt2000, Win98 };

const std::string kEmpty = "CUsbDevices::Synchronise() : Devices list is empty\n";

SimUsbPrinter Printer(const std::string& strSerial, const std::string& strPort = "USB001") {
    SimUsbPrinter printer;
    printer.strSerial = strSerial;
    printer.strPort = strPort;
    return printer;
}

std::string Found(const SimUsbPrinter& printer) {
    return "CUsbDevices::Synchronise() : " + CSimUsbSetup::PrinterInstanceId(printer) + "\n";
}

class UsbDiscovery : public testing::Test {
protected:
    void TearDown() override { RemoveAll(); }

    void Install(const std::vector<SimUsbPrinter>& printers) {
        for (const SimUsbPrinter& printer : printers) {
            m_installed.push_back(printer);
            ASSERT_EQ(0u, CSimUsbSetup::Install(printer)) << printer.strSerial;
        }
    }
    void RemoveAll() {
        for (const SimUsbPrinter& printer : m_installed)
            EXPECT_EQ(0u, CSimUsbSetup::Remove(printer)) << printer.strSerial;
        m_installed.clear();
    }
    // Synchronises as on the given system and returns the lines traced.
    Lines Synchronise(System system, DWORD dwExpected = 0) {
        if (system == System::Win98)
            SetWindowsVersionForTesting(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        else
            SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 5, 0);
        m_trace.Clear();
        EXPECT_EQ(dwExpected, m_devices.Synchronise());
        return m_trace.Lines();
    }

    CUsbDevices m_devices;
    CTraceCapture m_trace;
    std::vector<SimUsbPrinter> m_installed;
};

TEST_F(UsbDiscovery, WhichDevicesAreFamilyPrinters) {
    const struct {
        const char* pszCase;
        System system;
        std::function<void(SimUsbPrinter&)> change;
        bool bFound;
    } cases[] = {
        {"usbprint service, upper-cased", System::Nt2000, [](SimUsbPrinter&) {}, true},
        {"lower-case hardware id", System::Nt2000,
         [](SimUsbPrinter& p) { p.strHardwareId = "usb\\vid_0e7a&pid_003c&rev_0100"; }, true},
        {"family id in the second hardware id only", System::Nt2000,
         [](SimUsbPrinter& p) { p.strHardwareId = "USB\\VID_1234&PID_0001\0USB\\VID_0E7A&PID_003C"s; },
         false},
        {"no service value (13)", System::Nt2000, [](SimUsbPrinter& p) { p.strService.clear(); }, false},
        {"no printing interface (259)", System::Nt2000, [](SimUsbPrinter& p) { p.bInterface = false; },
         false},
        {"no printer node", System::Nt2000, [](SimUsbPrinter& p) { p.strPort.clear(); }, false},
        {"9x: exact description, any service", System::Win98, [](SimUsbPrinter& p) { p.strService = "x"; },
         true},
        {"9x: no description value (13)", System::Win98, [](SimUsbPrinter& p) { p.strDescription.clear(); },
         false},
        {"9x: no printer node, empty device id", System::Win98, [](SimUsbPrinter& p) { p.strPort.clear(); },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        SimUsbPrinter printer = Printer("NY0001");
        c.change(printer);
        Install({printer});
        EXPECT_EQ(Lines{c.bFound ? Found(printer) : kEmpty}, Synchronise(c.system));
        RemoveAll();
    }
}

TEST_F(UsbDiscovery, GetDevicePathTakesTheFirstEntryContainingThePort) {
    const SimUsbPrinter first = Printer("NY0001", "USB0010");
    const SimUsbPrinter second = Printer("NY0002", "USB001");
    const SimUsbPrinter third = Printer("NY0003", "USB002");
    Install({first, second, third});
    EXPECT_EQ((Lines{Found(first), Found(second), Found(third)}), Synchronise(System::Nt2000));

    // A port without a printer leaves the path found before.
    std::string strPath;
    for (const auto& [pszPort, bFound, pPrinter] :
         {std::tuple{"USB001", true, &first}, {"USB002", true, &third}, {"USB003", false, &third}}) {
        EXPECT_EQ(bFound, m_devices.GetDevicePath(pszPort, strPath)) << pszPort;
        EXPECT_EQ(CSimUsbSetup::InterfacePath(*pPrinter), strPath) << pszPort;
    }
}

TEST_F(UsbDiscovery, AFailingPropertyReadEndsTheSearchKeepingEarlierEntries) {
    const std::string strTooLong(5000, 'X'); // beyond the 4096-byte buffer: 122
    const struct {
        System system;
        std::function<void(SimUsbPrinter&)> change;
        const char* pszReader; // the function that traces the read, and the property
        const char* pszProperty;
    } cases[] = {
        {System::Nt2000, [&](SimUsbPrinter& p) { p.strService = strTooLong; }, "SearchDevice2K", "SERVICE"},
        {System::Nt2000, [&](SimUsbPrinter& p) { p.strHardwareId = strTooLong; },
         "SearchDevice2K::SearchDevice2K", "HARDWAREID"},
        {System::Win98, [&](SimUsbPrinter& p) { p.strDescription = strTooLong; }, "SearchDevice9x",
         "DEVICEDESC"},
        {System::Win98, [&](SimUsbPrinter& p) { p.strHardwareId = strTooLong; }, "SearchDevice9x",
         "HARDWAREID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszProperty);
        SimUsbPrinter failing = Printer("NY0002", "USB002");
        c.change(failing);
        Install({Printer("NY0001", "USB001"), failing, Printer("NY0003", "USB003")});
        const std::string strSystem = c.system == System::Win98 ? "9x" : "2K";
        EXPECT_EQ((Lines{"CUsbDevices::"s + c.pszReader + "() : SetupDiGetDeviceRegistryProperty(SPDRP_" +
                             c.pszProperty + ") failed. GetLastError() = 122\n",
                         "CUsbDevices::SearchDevice() : SearchDevice" + strSystem +
                             "() failed. GetLastError() = 122\n",
                         "CUsbDevice::SearchDevice() : SearchDevice() failed. GetLastError() = 122\n"}),
                  Synchronise(c.system, ERROR_INSUFFICIENT_BUFFER));
        std::string strPath;
        EXPECT_TRUE(m_devices.GetDevicePath("USB001", strPath));
        EXPECT_FALSE(m_devices.GetDevicePath("USB003", strPath));
        RemoveAll();
    }
}

} // namespace
