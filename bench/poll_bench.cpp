// What polling costs the agent under Wine, measured as CPU time rather than
// wall time (the USB road's specified 10 ms pause costs no CPU):
//   poll_bench.exe vir-poll [COUNT]            CPU per shared-memory poll
//   poll_bench.exe vir-idle [PRINTERS] [SEC]   process CPU while that many
//                                              shared-memory printers poll at 250 ms
//   poll_bench.exe usb-poll DRIVER [COUNT]     CPU per USB poll, on the stand-in
//                                              class driver at DRIVER (a Windows path)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/silent_notify.h"
#include "devices/shared/vir_device.h"
#include "devices/usb/usb_device.h"
#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "sim/usb/usb_bridge.h"
#include "sim/usb/usb_driver_service.h"

namespace {

// 100 ns units of a FILETIME pair (kernel + user).
ULONGLONG CpuTime(const FILETIME& kernel, const FILETIME& user) {
    const auto value = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

ULONGLONG ThreadCpu() {
    FILETIME creation, exit, kernel, user;
    GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user);
    return CpuTime(kernel, user);
}

ULONGLONG ProcessCpu() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    return CpuTime(kernel, user);
}

// A status mapping as the print path publishes it, with a ready printer.
class CPublishedBlock {
public:
    explicit CPublishedBlock(const std::string& strPort)
        : m_hMapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                        ("NYRA_DEVICE_STATUS." + strPort).c_str())),
          m_view(MapViewOfFile(m_hMapping.Get(), FILE_MAP_WRITE, 0, 0, 0)) {
        CDeviceStatus status;
        CUsbDevice::FillDefaultStatus(&status);
        if (m_view)
            std::memcpy(m_view.Get(), status.Data(), CDeviceStatus::kSize);
    }
    bool IsOpen() const { return static_cast<bool>(m_view); }

private:
    CUniqueHandle m_hMapping;
    CUniqueView m_view;
};

// Wine counts thread time in 10 ms steps: counts are chosen to span seconds.
void ReportPerPoll(const char* pszRoad, int nCount, ULONGLONG cpu) {
    std::printf("%s: %d polls, %.2f us CPU per poll\n", pszRoad, nCount, cpu / 10.0 / nCount);
}

int VirPoll(int nCount) {
    CPublishedBlock block("BENCHV");
    if (!block.IsOpen())
        return 1;
    CSilentNotify notify;
    // Its own thread polls four times a second besides: noise next to the count.
    CVirDevice device(&notify, "Bench", "BENCHV", "USB");
    const ULONGLONG start = ThreadCpu();
    for (int i = 0; i < nCount; ++i)
        device.PollStatus();
    ReportPerPoll("shared-memory road", nCount, ThreadCpu() - start);
    return 0;
}

int VirIdle(int nPrinters, int nSeconds) {
    std::vector<std::unique_ptr<CPublishedBlock>> blocks;
    std::vector<std::unique_ptr<CVirDevice>> devices;
    CSilentNotify notify;
    for (int i = 0; i < nPrinters; ++i) {
        const std::string strPort = "BENCHI" + std::to_string(i);
        blocks.push_back(std::make_unique<CPublishedBlock>(strPort));
        devices.push_back(std::make_unique<CVirDevice>(&notify, "Bench", strPort.c_str(), "USB"));
    }
    const ULONGLONG cpuStart = ProcessCpu();
    const ULONGLONG wallStart = GetTickCount64();
    Sleep(static_cast<DWORD>(nSeconds) * 1000);
    const double cpuMs = (ProcessCpu() - cpuStart) / 10000.0;
    const double wallMs = static_cast<double>(GetTickCount64() - wallStart);
    std::printf("%d shared-memory printers idle for %.0f s: %.1f ms CPU, %.3f %% of one core\n", nPrinters,
                wallMs / 1000, cpuMs, 100.0 * cpuMs / wallMs);
    return 0;
}

const std::string kSerial = "NYBENCH";
const std::string kSerialLower = "nybench";
const std::string kInterfaceClass = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

// One fake printer served by the stand-in class driver for the length of a run.
class CDriverPrinter {
public:
    explicit CDriverPrinter(const std::string& strDriver) {
        const std::string strLink = "\\??\\usb#vid_0e7a&pid_003c#" + kSerialLower + "#" + kInterfaceClass;
        const std::string strSection = "\\BaseNamedObjects\\NySim.UsbPrint." + kSerial;
        HKEY hKey = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr);
        RegSetValueExA(hKey, "SymbolicLink", 0, REG_SZ, reinterpret_cast<const BYTE*>(strLink.c_str()),
                       static_cast<DWORD>(strLink.size() + 1));
        RegSetValueExA(hKey, "Section", 0, REG_SZ, reinterpret_cast<const BYTE*>(strSection.c_str()),
                       static_cast<DWORD>(strSection.size() + 1));
        RegCloseKey(hKey);
        m_hBridge.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           usbbridge::kMappingSize,
                                           (usbbridge::kMappingPrefix + kSerial).c_str()));
        m_view.Reset(MapViewOfFile(m_hBridge.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (m_view) {
            SimUsbBridge& bridge = *reinterpret_cast<SimUsbBridge*>(m_view.Get());
            CDeviceStatus status;
            CUsbDevice::FillDefaultStatus(&status);
            std::memcpy(bridge.status, status.Data(), CDeviceStatus::kSize);
            bridge.size = sizeof(SimUsbBridge);
            bridge.magic = usbbridge::kMagic;
        }
        m_bStarted = m_view && CUsbDriverService::Install(strDriver) == 0 && CUsbDriverService::Start() == 0;
    }
    ~CDriverPrinter() {
        CUsbDriverService::Stop();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, Key().c_str());
    }
    bool Started() const { return m_bStarted; }
    std::string Path() const {
        return "\\\\?\\usb#vid_0e7a&pid_003c#" + kSerialLower + "#" + kInterfaceClass;
    }

private:
    static std::string Key() { return std::string(CUsbDriverService::kDevicesKey) + "\\" + kSerial; }
    CUniqueHandle m_hBridge;
    CUniqueView m_view;
    bool m_bStarted = false;
};

int UsbPoll(const char* pszDriver, int nCount) {
    CDriverPrinter printer(pszDriver);
    if (!printer.Started()) {
        std::fprintf(stderr, "the stand-in driver did not start\n");
        return 1;
    }
    CSilentNotify notify;
    CUsbDevice device(&notify, "Bench", "BENCHU", printer.Path().c_str());
    const ULONGLONG start = ThreadCpu();
    for (int i = 0; i < nCount; ++i)
        device.PollStatus();
    ReportPerPoll("USB road (10 ms pause excluded, the driver's process not counted)", nCount,
                  ThreadCpu() - start);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string strMode = argc > 1 ? argv[1] : "";
    const auto number = [&](int nIndex, int nDefault) {
        return argc > nIndex ? std::atoi(argv[nIndex]) : nDefault;
    };
    if (strMode == "vir-poll")
        return VirPoll(number(2, 1000000));
    if (strMode == "vir-idle")
        return VirIdle(number(2, 16), number(3, 60));
    if (strMode == "usb-poll" && argc > 2)
        return UsbPoll(argv[2], number(3, 500));
    std::fprintf(
        stderr, "usage: poll_bench vir-poll [COUNT] | vir-idle [PRINTERS] [SEC] | usb-poll DRIVER [COUNT]\n");
    return 2;
}
