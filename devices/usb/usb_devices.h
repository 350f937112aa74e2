// Finds the family's USB printers through the device installation interfaces
// and links a spooler port (USB001) to the interface path of its printer: the
// instance id of the printer node below each interface's device carries the
// port name.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "devices/usb/usb_device_entry.h"

class CUsbDevices {
public:
    CUsbDevices() = default;
    virtual ~CUsbDevices() = default;
    CUsbDevices(const CUsbDevices&) = delete;
    CUsbDevices& operator=(const CUsbDevices&) = delete;

    // Rebuilds the list and traces each entry's device id; returns 0 or the
    // search's error code (the entries found before the failure stay).
    DWORD Synchronise();
    // The search of this system: SearchDevice2K on Windows 2000 and later,
    // SearchDevice9x before.
    DWORD SearchDevice();
    DWORD SearchDevice2K();
    DWORD SearchDevice9x();
    // Copies the interface path of the first entry whose device id contains
    // the port name; false, leaving strDevicePath unchanged, without one.
    bool GetDevicePath(const std::string& strPort, std::string& strDevicePath) const;

private:
    // What tells the two searches apart: the traces' caller, the property read
    // before the hardware id, and the match rule.
    struct CSearchKind {
        const char* pszCaller;
        const char* pszHardwareIdCaller;
        DWORD dwFirstProperty;
        const char* pszFirstProperty;
        bool bUpperCaseFirst;
        bool (*pfnMatch)(const std::string& strHardwareId, const std::string& strFirst,
                         const std::string& strDeviceId);
    };

    DWORD Search(const CSearchKind& kind);

    std::vector<CUsbDeviceEntry> m_lstDevices;
};
