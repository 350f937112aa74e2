// The monitoring core with 16 simulated printers under Wine, as the agent
// runs it: eight USB printers watched through the print path's shared memory
// and eight network printers polled over PJL by the simulator's printers.
// Reports the process's CPU over an idle period and its private memory, then
// the time from a record published in shared memory to the status window
// taking its refresh message, over a series of changes.
//   monitor_bench.exe [IDLE_SECONDS] [CHANGES]      (defaults 60 and 200)
// Built on the test harness's helpers (spooler printers, port monitor,
// simulated USB device nodes); not run by CTest.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "devices/usb/usb_device.h"
#include "framework/unique_view.h"
#include "sim/usb/usb_setup.h"
#include "tests/wine/monitor_harness.h"
#include "tests/wine/sim_child.h"
#include "tests/wine/test_port_monitor.h"
#include "tests/wine/test_printer.h"

namespace {

int g_nIdleSeconds = 60;
int g_nChanges = 200;

constexpr int kPrintersPerRoad = 8;
constexpr std::uint32_t kFirstTcpPort = 19300;

ULONGLONG ProcessCpu100ns() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    const auto value = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A USB printer as the print path publishes it in shared memory.
struct CSharedMemoryPrinter {
    explicit CSharedMemoryPrinter(int nIndex)
        : strPort("USB" + std::to_string(700 + nIndex)),
          hMapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                      ("NYRA_DEVICE_STATUS." + strPort).c_str())),
          view(MapViewOfFile(hMapping.Get(), FILE_MAP_WRITE, 0, 0, 0)),
          printer("Kestrel Bench USB " + std::to_string(nIndex), strPort, "Kestrel 2006") {
        usb.strSerial = "NYBENCH" + std::to_string(nIndex);
        usb.strPort = strPort;
        CSimUsbSetup::Install(usb);
        CUsbDevice::FillDefaultStatus(&status);
        Publish();
    }
    ~CSharedMemoryPrinter() { CSimUsbSetup::Remove(usb); }
    void Publish() { std::memcpy(view.Get(), status.Data(), CDeviceStatus::kSize); }

    std::string strPort;
    CUniqueHandle hMapping;
    CUniqueView view;
    CTestPrinter printer;
    SimUsbPrinter usb;
    CDeviceStatus status;
};

} // namespace

TEST(MonitorBench, SixteenPrinters) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::vector<std::unique_ptr<CSharedMemoryPrinter>> usbPrinters;
    for (int i = 0; i < kPrintersPerRoad; ++i)
        usbPrinters.push_back(std::make_unique<CSharedMemoryPrinter>(i));
    std::string strSimArguments = "--no-print-path --scenario idle --tick 50 --pjl-port " +
                                  std::to_string(kFirstTcpPort) + " --stop-event NySim.MonitorBench";
    CTestPortMonitor portMonitor;
    std::vector<std::unique_ptr<CTestPrinter>> netPrinters;
    for (int i = 0; i < kPrintersPerRoad; ++i) {
        const std::string strPort = "NYBENCHNET" + std::to_string(i);
        strSimArguments += " --port " + strPort;
        portMonitor.AddNetworkPort(strPort, "127.0.0.1", kFirstTcpPort + i);
        netPrinters.push_back(std::make_unique<CTestPrinter>("Kestrel Bench Net " + std::to_string(i),
                                                             strPort, "Kestrel 2006 WiFi"));
    }
    CSimChild sim;
    ASSERT_TRUE(sim.Start(strSimArguments));
    Sleep(2000);

    CMonitorHarness harness(TRUE);
    harness.Synchronise();
    ASSERT_EQ(2u * kPrintersPerRoad, harness.m_printers.GetCount());
    int nConnected = 0;
    harness.m_printers.ForEach(
        [&](const CDeviceControl& control) { nConnected += control.IsConnected() ? 1 : 0; });
    std::printf("printers: %u, connected: %d\n", static_cast<unsigned>(harness.m_printers.GetCount()),
                nConnected);

    // Idle: the messages are dispatched as the agent's loop would.
    const auto pump = [&harness](DWORD dwMs) {
        const double end = NowMs() + dwMs;
        while (NowMs() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            harness.TakeMessages();
        }
    };
    pump(2000);
    const ULONGLONG cpuStart = ProcessCpu100ns();
    const double wallStart = NowMs();
    pump(static_cast<DWORD>(g_nIdleSeconds) * 1000);
    const double cpuMs = (ProcessCpu100ns() - cpuStart) / 10000.0;
    const double wallMs = NowMs() - wallStart;
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf(
        "idle %.0f s: %.0f ms CPU, %.3f %% of one core; committed private memory %.1f MB, working set "
        "%.1f MB (this harness included)\n",
        wallMs / 1000, cpuMs, 100.0 * cpuMs / wallMs, memory.PagefileUsage / 1048576.0,
        memory.WorkingSetSize / 1048576.0);

    // Latency: one shared-memory printer's record changes at random moments.
    CSharedMemoryPrinter& probe = *usbPrinters.front();
    std::mt19937 random(7);
    std::vector<double> latencies;
    for (int i = 0; i < g_nChanges; ++i) {
        pump(100 + random() % 200);
        probe.status.SetProgress(static_cast<std::uint8_t>(i % 100 + 1));
        probe.Publish();
        const double published = NowMs();
        for (bool bRefreshed = false; !bRefreshed && NowMs() - published < 2000;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            const std::vector<UINT> messages = harness.TakeMessages();
            bRefreshed = std::find(messages.begin(), messages.end(), WM_NY_REFRESH) != messages.end();
            if (bRefreshed)
                latencies.push_back(NowMs() - published);
        }
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty())
        std::printf("change to refresh message over %zu changes: median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                    latencies.size(), latencies[latencies.size() / 2],
                    latencies[std::min(latencies.size() - 1, latencies.size() * 99 / 100)], latencies.back());
    harness.m_printers.RemoveAllPrinters();
    CUniqueHandle hStop(OpenEventA(EVENT_MODIFY_STATE, FALSE, "NySim.MonitorBench"));
    if (hStop)
        SetEvent(hStop.Get());
    sim.Wait(10000);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_nIdleSeconds = std::max(1, std::atoi(argv[1]));
    if (argc > 2)
        g_nChanges = std::max(1, std::atoi(argv[2]));
    return RUN_ALL_TESTS();
}
