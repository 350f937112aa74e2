// From a printer's status changing to its status window showing it, on each
// road: a USB printer answering the agent's vendor requests through the
// stand-in class driver, a network printer answering PJL on loopback, and a
// USB printer whose print path publishes its record in shared memory. The
// printer prints; the benchmark moves its progress at random moments and
// times how long the shown window's task percentage takes to read the new
// value, with the messages dispatched as the agent's loop dispatches them.
//   status_latency_bench.exe [CHANGES]      (default 200 per road)
// Built on the test harness's helpers; not run by CTest.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "devices/usb/usb_device.h"
#include "framework/unique_view.h"
#include "monitor/device_control.h"
#include "sim/pjl_server.h"
#include "sim/usb/usb_driver_service.h"
#include "sim/usb/usb_setup.h"
#include "tests/wine/fake_usb_printer.h"
#include "tests/wine/monitor_harness.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

int g_nChanges = 200;

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A printing record at the given progress of the magenta pass.
CDeviceStatus Printing(std::uint8_t nProgress) {
    CDeviceStatus status;
    CUsbDevice::FillDefaultStatus(&status);
    status.SetDeviceState(kStatePrinting);
    status.SetPrintPhase(3);
    status.SetProgress(nProgress);
    return status;
}

// The network printer, answered in this process so that the moment of the
// change is known here.
class CBenchPjlPrinter : public CPjlPrinter {
public:
    CDeviceStatus CurrentStatus() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_status;
    }
    bool CancelJob() override { return false; }
    bool ResumeJob() override { return false; }
    void Set(const CDeviceStatus& status) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_status = status;
    }

private:
    std::mutex m_mutex;
    CDeviceStatus m_status = Printing(1);
};

// The printer's status window among this thread's windows: the one whose
// caption line names the printer.
HWND FindStatusWindow(const std::string& strPrinter) {
    struct Search {
        const std::string& strPrinter;
        HWND hFound;
    } search = {strPrinter, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(lParam);
            char szName[256] = {};
            if (GetDlgItemTextA(hWnd, IDC_STATIC_CAPTION, szName, sizeof(szName)) &&
                search.strPrinter == szName)
                search.hFound = hWnd;
            return !search.hFound;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

std::string TaskPercent(HWND hWindow) {
    char szText[16] = {};
    GetDlgItemTextA(hWindow, IDC_STATIC_TASK_PERCENT, szText, sizeof(szText));
    return szText;
}

// Shows the printer's status window, then moves the progress g_nChanges
// times, each after a random pause within the poll period, and prints the
// median and 99th percentile of the time to the new percentage on screen.
void Measure(const char* pszRoad, CMonitorHarness& harness, const std::string& strPrinter, DWORD dwPeriodMs,
             const std::function<void(const CDeviceStatus&)>& pfnPublish) {
    harness.Synchronise();
    const CDeviceControl* pControl = harness.Find(strPrinter);
    ASSERT_TRUE(pControl && pControl->IsConnected()) << pszRoad;
    const HWND hWindow = FindStatusWindow(strPrinter);
    ASSERT_TRUE(hWindow) << pszRoad;
    ShowWindow(hWindow, SW_SHOWNOACTIVATE);
    const auto waitForText = [&](const std::string& strText, double dTimeOutMs) {
        for (const double start = NowMs(); NowMs() - start < dTimeOutMs;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            harness.TakeMessages();
            if (TaskPercent(hWindow) == strText)
                return true;
        }
        return false;
    };
    pfnPublish(Printing(1));
    ASSERT_TRUE(waitForText("1%", 10000)) << pszRoad << ": " << TaskPercent(hWindow);

    std::mt19937 random(7);
    std::vector<double> latencies;
    for (int i = 0; i < g_nChanges; ++i) {
        const double pause = NowMs() + random() % dwPeriodMs;
        while (NowMs() < pause) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            harness.TakeMessages();
        }
        const auto nProgress = static_cast<std::uint8_t>(2 + i % 98);
        pfnPublish(Printing(nProgress));
        const double published = NowMs();
        if (waitForText(std::to_string(nProgress) + "%", 5000.0 + dwPeriodMs))
            latencies.push_back(NowMs() - published);
    }
    std::sort(latencies.begin(), latencies.end());
    ASSERT_FALSE(latencies.empty()) << pszRoad;
    std::printf("%-13s poll %4lu ms: %zu of %d changes shown; median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                pszRoad, dwPeriodMs, latencies.size(), g_nChanges, latencies[latencies.size() / 2],
                latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)], latencies.back());
    std::fflush(stdout);
}

} // namespace

TEST(StatusLatencyBench, UsbAndNetwork) {
    SimUsbPrinter usb;
    usb.strSerial = "NYLATENCY1";
    usb.strPort = "USB731";
    ASSERT_EQ(0u, CSimUsbSetup::Install(usb));
    CFakeUsbPrinter fake(usb.strSerial);
    ASSERT_EQ(0u, CUsbDriverService::Install(DriverPath()));
    ASSERT_EQ(0u, CUsbDriverService::Start());
    SimUsbBridge& bridge = fake.CreateBridge();
    const CTestPrinter usbPrinter("Kestrel Latency USB", usb.strPort, "Kestrel 2006");

    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    CBenchPjlPrinter netPrinter;
    CPjlServer server(netPrinter, PjlMisbehaviour::None, 0);
    ASSERT_EQ(0u, server.Start(0));
    CTestPortMonitor portMonitor;
    portMonitor.AddNetworkPort("NYLATENCYNET", "127.0.0.1", server.Port());
    const CTestPrinter netSpooled("Kestrel Latency Net", "NYLATENCYNET", "Kestrel 2006 WiFi");

    CMonitorHarness harness(FALSE);
    Measure("USB", harness, usbPrinter.Name(), 250, [&](const CDeviceStatus& status) {
        std::memcpy(bridge.status, status.Data(), CDeviceStatus::kSize);
    });
    Measure("network", harness, netSpooled.Name(), 1000,
            [&](const CDeviceStatus& status) { netPrinter.Set(status); });
    harness.m_printers.RemoveAllPrinters();
    CUsbDriverService::Stop();
    CSimUsbSetup::Remove(usb);
}

TEST(StatusLatencyBench, SharedMemory) {
    SimUsbPrinter usb;
    usb.strSerial = "NYLATENCY2";
    usb.strPort = "USB732";
    ASSERT_EQ(0u, CSimUsbSetup::Install(usb));
    const CUniqueHandle hMapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                                    ("NYRA_DEVICE_STATUS." + usb.strPort).c_str()));
    const CUniqueView view(MapViewOfFile(hMapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(view.Get());
    const CTestPrinter printer("Kestrel Latency Shared", usb.strPort, "Kestrel 2006");

    CMonitorHarness harness(TRUE);
    Measure("shared memory", harness, printer.Name(), 250, [&](const CDeviceStatus& status) {
        std::memcpy(view.Get(), status.Data(), CDeviceStatus::kSize);
    });
    harness.m_printers.RemoveAllPrinters();
    CSimUsbSetup::Remove(usb);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_nChanges = std::max(1, std::atoi(argv[1]));
    return RUN_ALL_TESTS();
}
