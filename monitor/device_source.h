// What the monitoring core needs of the transports: the USB device list, the
// link of a port and the device of a printer. The transports implement it
// above the core, and the program's start-up hands it down.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

#include "monitor/device.h"
#include "monitor/device_notify.h"

class CDeviceSource {
public:
    virtual ~CDeviceSource() = default;

    // Rebuilds the list of USB printers that the system has enumerated.
    virtual void Synchronise() = 0;
    // The port's type (0 default, 1 USB, 2 network), as
    // CDeviceControl::GetPortType tells it.
    virtual int GetPortType(const char* pszPort) = 0;
    // The link by which the printer on strPort is reached: the device
    // interface path of a USB port, "address:port" of a network port, the port
    // name itself for any other port. FALSE leaves strLink as it was.
    virtual BOOL GetLink(const std::string& strPort, std::string& strLink) = 0;
    // The device for a port type (0 default, 1 USB, 2 network): for type 1 the
    // USB device, or the shared-memory device when bUseNyStatusMonitor is set;
    // the network device for 2; the default device, whose link is the port
    // name, for 0. A null pszLink starts the device disconnected. Throws what
    // the device's constructor throws (CDevice::CExcept, std::bad_alloc).
    virtual std::unique_ptr<CDevice> CreateDevice(int nPortType, BOOL bUseNyStatusMonitor,
                                                  CDeviceNotify* pControl, const char* pszPrinterName,
                                                  const char* pszPort, const char* pszLink) = 0;

protected:
    CDeviceSource() = default;
    CDeviceSource(const CDeviceSource&) = delete;
    CDeviceSource& operator=(const CDeviceSource&) = delete;
};
