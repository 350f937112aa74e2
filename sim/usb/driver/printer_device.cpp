#include "sim/usb/driver/printer_device.h"

#include "sim/usb/driver/bridge_answer.h"

namespace {

// The device extension.
struct PrinterDevice {
    PrinterName link;
    PrinterName section;
    KMUTEX lock;     // one request at a time on the block
    HANDLE hSection; // kept open so that the block outlives a simulator restart
    SimUsbBridge* pBridge;
};

PrinterDevice& Printer(PDEVICE_OBJECT pDevice) {
    return *static_cast<PrinterDevice*>(pDevice->DeviceExtension);
}

void CopyName(const PrinterName& source, PrinterName& target) {
    RtlCopyMemory(target.szText, source.szText, source.name.Length);
    target.szText[source.name.Length / sizeof(WCHAR)] = L'\0';
    target.name.Buffer = target.szText;
    target.name.Length = source.name.Length;
    target.name.MaximumLength = sizeof(target.szText);
}

// "\Device\NyUsbPrint" and the index in decimal.
void MakeDeviceName(ULONG index, WCHAR (&szName)[32], UNICODE_STRING& name) {
    static const WCHAR kPrefix[] = L"\\Device\\NyUsbPrint";
    ULONG n = 0;
    for (; kPrefix[n]; ++n)
        szName[n] = kPrefix[n];
    WCHAR digits[10];
    ULONG nDigits = 0;
    do {
        digits[nDigits++] = static_cast<WCHAR>(L'0' + index % 10);
        index /= 10;
    } while (index);
    while (nDigits)
        szName[n++] = digits[--nDigits];
    szName[n] = L'\0';
    RtlInitUnicodeString(&name, szName);
}

// Maps the printer's bridge block unless it is mapped already. False while
// the section does not exist or is too small for a block.
bool MapBridge(PrinterDevice& printer) {
    if (printer.pBridge)
        return true;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &printer.section.name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               nullptr, nullptr);
    HANDLE hSection = nullptr;
    NTSTATUS status = ZwOpenSection(&hSection, SECTION_MAP_READ | SECTION_MAP_WRITE, &attributes);
    if (!NT_SUCCESS(status)) {
        DbgPrint("NyUsbPrint: ZwOpenSection(%wZ) failed: 0x%08lx\n", &printer.section.name, status);
        return false;
    }
    PVOID pView = nullptr;
    SIZE_T viewSize = 0;
    status = ZwMapViewOfSection(hSection, NtCurrentProcess(), &pView, 0, 0, nullptr, &viewSize, ViewUnmap, 0,
                                PAGE_READWRITE);
    if (!NT_SUCCESS(status) || viewSize < sizeof(SimUsbBridge)) {
        DbgPrint("NyUsbPrint: ZwMapViewOfSection(%wZ) failed: 0x%08lx, %lu bytes\n", &printer.section.name,
                 status, static_cast<ULONG>(viewSize));
        if (NT_SUCCESS(status))
            ZwUnmapViewOfSection(NtCurrentProcess(), pView);
        ZwClose(hSection);
        return false;
    }
    printer.hSection = hSection;
    printer.pBridge = static_cast<SimUsbBridge*>(pView);
    return true;
}

NTSTATUS Complete(PIRP pIrp, NTSTATUS status, ULONG_PTR information) {
    pIrp->IoStatus.Status = status;
    pIrp->IoStatus.Information = information;
    IoCompleteRequest(pIrp, IO_NO_INCREMENT);
    return status;
}

} // namespace

NTSTATUS CreatePrinterDevice(PDRIVER_OBJECT pDriver, ULONG index, const PrinterName& link,
                             const PrinterName& section) {
    WCHAR szDeviceName[32];
    UNICODE_STRING deviceName;
    MakeDeviceName(index, szDeviceName, deviceName);
    PDEVICE_OBJECT pDevice = nullptr;
    NTSTATUS status =
        IoCreateDevice(pDriver, sizeof(PrinterDevice), &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, &pDevice);
    if (!NT_SUCCESS(status))
        return status;
    PrinterDevice& printer = Printer(pDevice);
    RtlZeroMemory(&printer, sizeof(printer));
    CopyName(link, printer.link);
    CopyName(section, printer.section);
    KeInitializeMutex(&printer.lock, 0);
    status = IoCreateSymbolicLink(&printer.link.name, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(pDevice);
        return status;
    }
    pDevice->Flags |= DO_BUFFERED_IO;
    pDevice->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

void DeletePrinterDevice(PDEVICE_OBJECT pDevice) {
    PrinterDevice& printer = Printer(pDevice);
    IoDeleteSymbolicLink(&printer.link.name);
    if (printer.pBridge)
        ZwUnmapViewOfSection(NtCurrentProcess(), printer.pBridge);
    if (printer.hSection)
        ZwClose(printer.hSection);
    IoDeleteDevice(pDevice);
}

NTSTATUS OnPrinterOpenClose(PDEVICE_OBJECT, PIRP pIrp) {
    return Complete(pIrp, STATUS_SUCCESS, 0);
}

NTSTATUS OnPrinterControl(PDEVICE_OBJECT pDevice, PIRP pIrp) {
    PrinterDevice& printer = Printer(pDevice);
    const PIO_STACK_LOCATION pStack = IoGetCurrentIrpStackLocation(pIrp);
    const ULONG ioctl = pStack->Parameters.DeviceIoControl.IoControlCode;
    const ULONG inputLength = pStack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG outputLength = pStack->Parameters.DeviceIoControl.OutputBufferLength;
    // METHOD_BUFFERED: the input arrives and the answer leaves in one buffer.
    auto* pBuffer = static_cast<std::uint8_t*>(pIrp->AssociatedIrp.SystemBuffer);

    UsbAnswer answer = {usbbridge::kStatusDeviceNotConnected, 0};
    KeWaitForSingleObject(&printer.lock, Executive, KernelMode, FALSE, nullptr);
    if (MapBridge(printer))
        answer = AnswerUsbRequest(*printer.pBridge, ioctl, pBuffer, inputLength, pBuffer, outputLength);
    KeReleaseMutex(&printer.lock, FALSE);
    return Complete(pIrp, answer.status, answer.length);
}
