// A simulated USB printer as the device installation interfaces should report
// it. Platform-free: the set-up tool installs it in the registry, tests and the
// simulator describe their printers with it.
#pragma once

#include <cstdint>
#include <string>

struct SimUsbPrinter {
    // The device's instance name below USB\VID_xxxx&PID_yyyy, e.g. "NY0001".
    std::string strSerial;
    std::uint16_t wVendorId = 0x0E7A;
    std::uint16_t wProductId = 0x003C;
    // The spooler port carried by the printer node's instance id; empty: the
    // device has no printer node below it.
    std::string strPort = "USB001";
    // Empty: no Service value, so that reading the property fails with 13.
    std::string strService = "usbprint";
    // Empty: no DeviceDesc value.
    std::string strDescription = "USB Printing Support";
    // False: the USB printing interface stays inactive, so that the device
    // shows none (259).
    bool bInterface = true;
    // The first hardware id; empty: "USB\VID_%04X&PID_%04X&REV_0100".
    std::string strHardwareId;
};
