// The service of the stand-in USB printing class driver, NyUsbPrint.sys: a
// kernel driver that Wine runs inside winedevice.exe. Each operation may be
// repeated: asking for what is done already succeeds.
#pragma once

#include <string>

#include <windows.h>

class CUsbDriverService {
public:
    static constexpr char kServiceName[] = "NyUsbPrint";
    // Under HKEY_LOCAL_MACHINE: one subkey per printer that the driver serves,
    // read when it starts.
    static constexpr char kDevicesKey[] =
        "System\\CurrentControlSet\\Services\\NyUsbPrint\\Parameters\\Devices";

    // Creates the service for the driver image at strImagePath, or points the
    // existing service at it. Returns 0 or the Windows error code.
    static DWORD Install(const std::string& strImagePath);
    // Starts the driver; its devices exist once this returns 0.
    static DWORD Start();
    // Stops the driver and waits up to dwTimeoutMs until it has unloaded and
    // its devices are gone. A service that is not installed counts as stopped.
    static DWORD Stop(DWORD dwTimeoutMs = 5000);
    // Stops the driver and deletes the service.
    static DWORD Remove();
};
