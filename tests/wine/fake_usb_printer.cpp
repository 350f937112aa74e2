#include "tests/wine/fake_usb_printer.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

#include <gtest/gtest.h>

#include "sim/usb/usb_driver_service.h"
#include "tests/wine/test_printer.h"

std::string DriverPath() {
    return HostPath(NY_USB_DRIVER);
}

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

} // namespace

CFakeUsbPrinter::CFakeUsbPrinter(const std::string& strSerial)
    : m_strSerial(strSerial), m_strKey(std::string(CUsbDriverService::kDevicesKey) + "\\" + strSerial) {
    const std::string strLink =
        "\\??\\usb#vid_0e7a&pid_003c#" + Lower(strSerial) + "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    const std::string strSection = "\\BaseNamedObjects\\NySim.UsbPrint." + strSerial;
    m_strPath = "\\\\?\\" + strLink.substr(4);
    SetMachineString(m_strKey, "SymbolicLink", strLink);
    SetMachineString(m_strKey, "Section", strSection);
}

CFakeUsbPrinter::~CFakeUsbPrinter() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_strKey.c_str());
}

SimUsbBridge& CFakeUsbPrinter::CreateBridge() {
    m_hMapping.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                        (usbbridge::kMappingPrefix + m_strSerial).c_str()));
    m_view.Reset(MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    EXPECT_TRUE(m_view);
    std::uint8_t* pBlock = m_view.Get();
    for (std::size_t i = offsetof(SimUsbBridge, status); i < offsetof(SimUsbBridge, logCount); ++i)
        pBlock[i] = static_cast<std::uint8_t>(i * 7 + 1); // status and info
    for (std::size_t i = offsetof(SimUsbBridge, logs); i < offsetof(SimUsbBridge, failStatus); ++i)
        pBlock[i] = static_cast<std::uint8_t>(0x80 + i);
    SimUsbBridge& bridge = *reinterpret_cast<SimUsbBridge*>(pBlock);
    bridge.logCount = 3;
    bridge.size = sizeof(SimUsbBridge);
    bridge.magic = usbbridge::kMagic;
    return bridge;
}

DWORD CFakeUsbPrinter::Set(std::uint8_t code) const {
    const HANDLE hOpened = CreateFileA(m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0x40000001, nullptr);
    if (hOpened == INVALID_HANDLE_VALUE)
        return GetLastError();
    const CUniqueHandle hDevice(hOpened);
    std::uint8_t input[] = {code, 0, 0};
    DWORD dwReturned = 0;
    return DeviceIoControl(hDevice.Get(), usbbridge::kIoctlVendorSet, input, sizeof(input), nullptr, 0,
                           &dwReturned, nullptr)
               ? 0
               : GetLastError();
}
