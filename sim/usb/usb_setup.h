// Installs simulated USB printers where Wine's device installation interfaces
// find them, and removes them again: the USB device node with its hardware id,
// service and description, its USB printing interface, the printer node below
// it whose instance id carries the port name, and the subkey from which the
// stand-in USB printing class driver (NyUsbPrint.sys) learns the printer's
// symbolic link and bridge section.
#pragma once

#include <string>

#include <windows.h>

#include "sim/usb/sim_usb_printer.h"

class CSimUsbSetup {
public:
    CSimUsbSetup() = delete;

    // Removes whatever an earlier installation of the same printer left, then
    // installs it. Returns 0 or the Windows (or SetupAPI) error code; a failed
    // installation leaves nothing behind.
    static DWORD Install(const SimUsbPrinter& printer);
    // Removes everything Install writes for the printer; 0 also when nothing was there.
    static DWORD Remove(const SimUsbPrinter& printer);

    // USB\VID_0E7A&PID_003C\NY0001
    static std::string DeviceInstanceId(const SimUsbPrinter& printer);
    // USBPRINT\NYPHOTO\7&<hash>&0&USB001, upper-cased as SetupAPI reports it;
    // empty for a printer without a port.
    static std::string PrinterInstanceId(const SimUsbPrinter& printer);
    // \\?\usb#vid_0e7a&pid_003c#ny0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}
    static std::string InterfacePath(const SimUsbPrinter& printer);
};
