// A fake USB printer as the stand-in USB printing class driver serves it: its
// Devices subkey (written before the driver starts) and, when the test plays
// the printer itself, its bridge block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/unique_handle.h"
#include "framework/unique_view.h"
#include "sim/usb/usb_bridge.h"

using Bytes = std::vector<std::uint8_t>;

// The driver image's path as Wine's service manager takes it.
std::string DriverPath();

class CFakeUsbPrinter {
public:
    explicit CFakeUsbPrinter(const std::string& strSerial);
    ~CFakeUsbPrinter();
    CFakeUsbPrinter(const CFakeUsbPrinter&) = delete;
    CFakeUsbPrinter& operator=(const CFakeUsbPrinter&) = delete;

    // Creates the block: distinct bytes everywhere, three log entries.
    SimUsbBridge& CreateBridge();
    // The interface path the agent opens.
    const std::string& Path() const { return m_strPath; }

    // Sends a vendor request as the agent's USB device makes it; returns
    // GetLastError() (0 on success).
    DWORD Set(std::uint8_t code) const;

private:
    std::string m_strSerial;
    std::string m_strKey;
    std::string m_strPath;
    CUniqueHandle m_hMapping;
    CUniqueView m_view;
};
