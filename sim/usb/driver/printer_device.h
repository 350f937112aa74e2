// One simulated printer's device object: the symbolic link that makes its
// interface path openable, and the named section of its bridge block,
// mapped on the first request that finds it.
#pragma once

#include "sim/usb/driver/kernel.h"
#include "sim/usb/usb_bridge.h"

// Longest symbolic link or section name accepted, in characters.
constexpr USHORT kMaxNameLength = 255;

// A name read from the registry, kept in place.
struct PrinterName {
    WCHAR szText[kMaxNameLength + 1];
    UNICODE_STRING name; // points into szText
};

// Creates the device "\Device\NyUsbPrint<index>" with its symbolic link.
NTSTATUS CreatePrinterDevice(PDRIVER_OBJECT pDriver, ULONG index, const PrinterName& link,
                             const PrinterName& section);
// Removes the link, unmaps the block and deletes the device.
void DeletePrinterDevice(PDEVICE_OBJECT pDevice);

// IRP_MJ_CREATE, IRP_MJ_CLEANUP and IRP_MJ_CLOSE: nothing to keep per handle.
NTSTATUS OnPrinterOpenClose(PDEVICE_OBJECT pDevice, PIRP pIrp);
// IRP_MJ_DEVICE_CONTROL: the vendor requests, answered from the bridge block.
NTSTATUS OnPrinterControl(PDEVICE_OBJECT pDevice, PIRP pIrp);
