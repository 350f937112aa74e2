// NyUsbPrint.sys: a stand-in for the USB printing class driver, for tests and
// demos under Wine. Each subkey of the service's Parameters\Devices key names
// one simulated printer: the symbolic link of its interface path
// ("SymbolicLink") and the section of its bridge block ("Section"). The
// driver creates one device and link per printer when it starts and removes
// them all when it stops.
#include "sim/usb/driver/kernel.h"
#include "sim/usb/driver/printer_device.h"

namespace {

constexpr ULONG kPoolTag = 0x5055594E; // "NYUP"
constexpr ULONG kNameBytes = (kMaxNameLength + 1) * sizeof(WCHAR);

// What reading one printer's subkey needs; too large for a kernel stack.
struct PrinterSetup {
    union {
        KEY_BASIC_INFORMATION info;
        UCHAR raw[sizeof(KEY_BASIC_INFORMATION) + kNameBytes];
    } subkey;
    union {
        KEY_VALUE_PARTIAL_INFORMATION info;
        UCHAR raw[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + kNameBytes];
    } value;
    UNICODE_STRING subkeyName; // points into subkey
    PrinterName link;
    PrinterName section;
};

NTSTATUS OpenKey(HANDLE hRoot, PUNICODE_STRING pName, HANDLE& hKey) {
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, pName, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, hRoot, nullptr);
    return ZwOpenKey(&hKey, KEY_READ, &attributes);
}

// Reads a REG_SZ value of 1 to kMaxNameLength characters.
NTSTATUS ReadName(HANDLE hKey, PCWSTR pszValue, PrinterSetup& setup, PrinterName& target) {
    UNICODE_STRING valueName;
    RtlInitUnicodeString(&valueName, pszValue);
    ULONG resultLength = 0;
    const NTSTATUS status = ZwQueryValueKey(hKey, &valueName, KeyValuePartialInformation, &setup.value,
                                            sizeof(setup.value), &resultLength);
    if (!NT_SUCCESS(status))
        return status;
    if (setup.value.info.Type != REG_SZ)
        return STATUS_OBJECT_TYPE_MISMATCH;
    const auto* pText = reinterpret_cast<const WCHAR*>(setup.value.info.Data);
    ULONG nChars = setup.value.info.DataLength / sizeof(WCHAR);
    while (nChars && pText[nChars - 1] == L'\0')
        --nChars;
    if (nChars == 0 || nChars > kMaxNameLength)
        return STATUS_INVALID_PARAMETER;
    RtlCopyMemory(target.szText, pText, nChars * sizeof(WCHAR));
    target.szText[nChars] = L'\0';
    RtlInitUnicodeString(&target.name, target.szText);
    return STATUS_SUCCESS;
}

// Creates the device of the printer under the subkey in setup.
NTSTATUS AddPrinter(PDRIVER_OBJECT pDriver, HANDLE hDevices, ULONG index, PrinterSetup& setup) {
    HANDLE hPrinter = nullptr;
    NTSTATUS status = OpenKey(hDevices, &setup.subkeyName, hPrinter);
    if (!NT_SUCCESS(status))
        return status;
    status = ReadName(hPrinter, L"SymbolicLink", setup, setup.link);
    if (NT_SUCCESS(status))
        status = ReadName(hPrinter, L"Section", setup, setup.section);
    ZwClose(hPrinter);
    if (!NT_SUCCESS(status))
        return status;
    return CreatePrinterDevice(pDriver, index, setup.link, setup.section);
}

// One device per subkey; a printer that cannot be served is left out with a
// trace, and the others still are.
void AddPrinters(PDRIVER_OBJECT pDriver, HANDLE hDevices, PrinterSetup& setup) {
    ULONG nCreated = 0;
    for (ULONG nSubkey = 0;; ++nSubkey) {
        ULONG resultLength = 0;
        NTSTATUS status = ZwEnumerateKey(hDevices, nSubkey, KeyBasicInformation, &setup.subkey,
                                         sizeof(setup.subkey), &resultLength);
        if (status == STATUS_NO_MORE_ENTRIES)
            return;
        if (!NT_SUCCESS(status)) {
            DbgPrint("NyUsbPrint: subkey %lu left out: 0x%08lx\n", nSubkey, status);
            continue;
        }
        setup.subkeyName.Buffer = setup.subkey.info.Name;
        setup.subkeyName.Length = static_cast<USHORT>(setup.subkey.info.NameLength);
        setup.subkeyName.MaximumLength = setup.subkeyName.Length;
        status = AddPrinter(pDriver, hDevices, nCreated, setup);
        if (NT_SUCCESS(status))
            ++nCreated;
        else
            DbgPrint("NyUsbPrint: printer %wZ left out: 0x%08lx\n", &setup.subkeyName, status);
    }
}

void OnUnload(PDRIVER_OBJECT pDriver) {
    while (PDEVICE_OBJECT pDevice = pDriver->DeviceObject)
        DeletePrinterDevice(pDevice);
}

} // namespace

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT pDriver, PUNICODE_STRING pRegistryPath) {
    pDriver->MajorFunction[IRP_MJ_CREATE] = OnPrinterOpenClose;
    pDriver->MajorFunction[IRP_MJ_CLEANUP] = OnPrinterOpenClose;
    pDriver->MajorFunction[IRP_MJ_CLOSE] = OnPrinterOpenClose;
    pDriver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = OnPrinterControl;
    pDriver->DriverUnload = OnUnload;

    HANDLE hService = nullptr;
    NTSTATUS status = OpenKey(nullptr, pRegistryPath, hService);
    if (!NT_SUCCESS(status))
        return status;
    UNICODE_STRING devicesName;
    RtlInitUnicodeString(&devicesName, L"Parameters\\Devices");
    HANDLE hDevices = nullptr;
    status = OpenKey(hService, &devicesName, hDevices);
    ZwClose(hService);
    if (!NT_SUCCESS(status)) {
        // No printers to serve: the driver runs without devices.
        DbgPrint("NyUsbPrint: no Parameters\\Devices key: 0x%08lx\n", status);
        return STATUS_SUCCESS;
    }
    auto* pSetup =
        static_cast<PrinterSetup*>(ExAllocatePoolWithTag(PagedPool, sizeof(PrinterSetup), kPoolTag));
    if (pSetup) {
        AddPrinters(pDriver, hDevices, *pSetup);
        ExFreePoolWithTag(pSetup, kPoolTag);
    }
    ZwClose(hDevices);
    return pSetup ? STATUS_SUCCESS : STATUS_INSUFFICIENT_RESOURCES;
}
