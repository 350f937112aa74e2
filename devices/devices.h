// The transports as the monitoring core sees them: the USB printers that the
// system has enumerated, the link of each port, and the device that watches a
// printer on a port of each type.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "devices/port_cache.h"
#include "devices/usb/usb_devices.h"
#include "monitor/device_source.h"

class CDevices : public CDeviceSource {
public:
    CDevices() = default;
    ~CDevices() override = default;

    // Rebuilds the USB device list and begins a new round of port look-ups.
    void Synchronise() override;
    // From the port list kept since the port configuration last changed.
    int GetPortType(const char* pszPort) override;
    // Type 1: the interface path of the USB printer on the port. Type 2: the
    // port monitor's "address:port" for the port. Type 0: the port name.
    // Port types and network addresses are kept between synchronisations
    // while the port configuration does not change (CPortCache).
    BOOL GetLink(const std::string& strPort, std::string& strLink) override;
    std::unique_ptr<CDevice> CreateDevice(int nPortType, BOOL bUseNyStatusMonitor, CDeviceNotify* pControl,
                                          const char* pszPrinterName, const char* pszPort,
                                          const char* pszLink) override;

private:
    CUsbDevices m_usbDevices;
    CPortCache m_ports;
};
