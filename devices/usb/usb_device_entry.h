// One USB printing interface of a family printer, as the discovery found it.
#pragma once

#include <string>
#include <utility>

class CUsbDeviceEntry {
public:
    CUsbDeviceEntry(std::string strDevicePath, std::string strDeviceId)
        : m_strDevicePath(std::move(strDevicePath)), m_strDeviceId(std::move(strDeviceId)) {}
    virtual ~CUsbDeviceEntry() = default;
    CUsbDeviceEntry(const CUsbDeviceEntry&) = default;
    CUsbDeviceEntry& operator=(const CUsbDeviceEntry&) = default;
    CUsbDeviceEntry(CUsbDeviceEntry&&) = default;
    CUsbDeviceEntry& operator=(CUsbDeviceEntry&&) = default;

    // The interface path that CreateFile opens.
    std::string m_strDevicePath;
    // The instance id of the printer node below the device, which carries the
    // spooler's port name (USB001); empty when the device has no such node.
    std::string m_strDeviceId;
};
