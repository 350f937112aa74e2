#include "sim/usb/usb_setup.h"

#include <cstdio>
#include <cstring>

#include <setupapi.h>

#include "framework/unique_device_list.h"
#include "framework/unique_key.h"

namespace {

// GUID_DEVINTERFACE_USBPRINT, the USB printing class driver's interface.
const GUID kUsbPrintInterface = {
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
// The setup classes of a USB device and of a printer.
const GUID kUsbClass = {0x36FC9E60, 0xC465, 0x11CF, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const char kPrinterClass[] = "{4D36E979-E325-11CE-BFC1-08002BE10318}";

const char kEnumKey[] = "System\\CurrentControlSet\\Enum\\";
const char kPrinterNodes[] = "System\\CurrentControlSet\\Enum\\USBPRINT\\NYPHOTO";
const char kInterfaceClassKey[] =
    "System\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}\\";
const char kDriverDevicesKey[] = "System\\CurrentControlSet\\Services\\NyUsbPrint\\Parameters\\Devices";

std::string CaseChanged(std::string strText, bool bUpper) {
    for (char& c : strText) {
        if (bUpper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (!bUpper && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return strText;
}

std::string VidPid(const SimUsbPrinter& printer) {
    char szText[32];
    std::snprintf(szText, sizeof(szText), "VID_%04X&PID_%04X", static_cast<unsigned>(printer.wVendorId),
                  static_cast<unsigned>(printer.wProductId));
    return szText;
}

// The prefix that ties the printer node to its device, as Windows derives it
// from the parent: here from the device's instance id, so that it stays the
// same from one run to the next.
std::string ParentIdPrefix(const SimUsbPrinter& printer) {
    std::uint32_t dwHash = 2166136261u;
    for (char c : CaseChanged(CSimUsbSetup::DeviceInstanceId(printer), true))
        dwHash = (dwHash ^ static_cast<unsigned char>(c)) * 16777619u;
    char szPrefix[24];
    std::snprintf(szPrefix, sizeof(szPrefix), "7&%08X&0", static_cast<unsigned>(dwHash));
    return szPrefix;
}

// The interface's key below the interface class, named after its path.
std::string InterfaceKey(const SimUsbPrinter& printer) {
    return kInterfaceClassKey + ("##?#" + CSimUsbSetup::InterfacePath(printer).substr(4));
}

LONG DeleteTree(const std::string& strKey) {
    const LONG lResult = RegDeleteTreeA(HKEY_LOCAL_MACHINE, strKey.c_str());
    return lResult == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lResult;
}

// Deletes the key when nothing is left below it.
void DeleteIfEmpty(const std::string& strKey) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, strKey.c_str());
}

LONG SetValue(const std::string& strKey, const char* pszName, DWORD dwType, const void* pData, DWORD cbData) {
    CUniqueKey key;
    LONG lResult = RegCreateKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   key.Receive(), nullptr);
    if (lResult == ERROR_SUCCESS)
        lResult = RegSetValueExA(key.Get(), pszName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
    return lResult;
}

LONG SetString(const std::string& strKey, const char* pszName, const std::string& strValue) {
    return SetValue(strKey, pszName, REG_SZ, strValue.c_str(), static_cast<DWORD>(strValue.size() + 1));
}

// Deletes the printer nodes of an earlier installation, whatever their port.
LONG RemovePrinterNodes(const SimUsbPrinter& printer) {
    const std::string strPrefix = ParentIdPrefix(printer) + "&";
    CUniqueKey nodes;
    LONG lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrinterNodes, 0, KEY_READ, nodes.Receive());
    if (lResult != ERROR_SUCCESS)
        return lResult == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lResult;
    for (DWORD dwIndex = 0;;) {
        char szName[256];
        DWORD cchName = sizeof(szName);
        lResult = RegEnumKeyExA(nodes.Get(), dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult != ERROR_SUCCESS)
            break;
        if (_strnicmp(szName, strPrefix.c_str(), strPrefix.size()) != 0) {
            ++dwIndex;
            continue;
        }
        lResult = RegDeleteTreeA(nodes.Get(), szName);
        if (lResult != ERROR_SUCCESS)
            return lResult;
    }
    return lResult == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : lResult;
}

// The device node and its interface through SetupAPI's own creation calls, so
// that they carry what SetupAPI itself writes.
DWORD CreateDeviceNode(const SimUsbPrinter& printer) {
    const CUniqueDeviceList list(SetupDiCreateDeviceInfoList(&kUsbClass, nullptr));
    if (!list)
        return GetLastError();
    const HDEVINFO hList = list.Get();
    std::string strHardwareIds =
        printer.strHardwareId.empty() ? "USB\\" + VidPid(printer) + "&REV_0100" : printer.strHardwareId;
    strHardwareIds.append(2, '\0');
    SP_DEVINFO_DATA devInfo = {};
    devInfo.cbSize = sizeof(devInfo);
    const auto setText = [&](DWORD dwProperty, const std::string& strText, DWORD cbText) {
        return SetupDiSetDeviceRegistryPropertyA(hList, &devInfo, dwProperty,
                                                 reinterpret_cast<const BYTE*>(strText.c_str()), cbText);
    };
    const bool bDone =
        SetupDiCreateDeviceInfoA(hList, CSimUsbSetup::DeviceInstanceId(printer).c_str(), &kUsbClass, nullptr,
                                 nullptr, 0, &devInfo) &&
        setText(SPDRP_HARDWAREID, strHardwareIds, static_cast<DWORD>(strHardwareIds.size())) &&
        (printer.strService.empty() ||
         setText(SPDRP_SERVICE, printer.strService, static_cast<DWORD>(printer.strService.size() + 1))) &&
        (printer.strDescription.empty() || setText(SPDRP_DEVICEDESC, printer.strDescription,
                                                   static_cast<DWORD>(printer.strDescription.size() + 1))) &&
        SetupDiRegisterDeviceInfo(hList, &devInfo, 0, nullptr, nullptr, nullptr) &&
        SetupDiCreateDeviceInterfaceA(hList, &devInfo, &kUsbPrintInterface, nullptr, 0, nullptr);
    return bDone ? ERROR_SUCCESS : GetLastError();
}

DWORD InstallAfterCleanUp(const SimUsbPrinter& printer) {
    DWORD dwError = CreateDeviceNode(printer);
    if (dwError != ERROR_SUCCESS)
        return dwError;
    // SetupAPI creates the interface inactive; a present interface is a linked one.
    const DWORD dwLinked = 1;
    if (printer.bInterface && (dwError = SetValue(InterfaceKey(printer) + "\\#\\Control", "Linked", REG_DWORD,
                                                  &dwLinked, sizeof(dwLinked))) != ERROR_SUCCESS)
        return dwError;
    const std::string strPrefix = ParentIdPrefix(printer);
    if ((dwError = SetString(kEnumKey + CSimUsbSetup::DeviceInstanceId(printer), "ParentIdPrefix",
                             strPrefix)) != ERROR_SUCCESS)
        return dwError;
    if (!printer.strPort.empty() && (dwError = SetString(kEnumKey + CSimUsbSetup::PrinterInstanceId(printer),
                                                         "ClassGUID", kPrinterClass)) != ERROR_SUCCESS)
        return dwError;
    const std::string strDriverKey = std::string(kDriverDevicesKey) + "\\" + printer.strSerial;
    const std::string strLink = "\\??\\" + CSimUsbSetup::InterfacePath(printer).substr(4);
    if ((dwError = SetString(strDriverKey, "SymbolicLink", strLink)) != ERROR_SUCCESS)
        return dwError;
    return SetString(strDriverKey, "Section", "\\BaseNamedObjects\\NySim.UsbPrint." + printer.strSerial);
}

} // namespace

DWORD CSimUsbSetup::Install(const SimUsbPrinter& printer) {
    DWORD dwError = Remove(printer);
    if (dwError == ERROR_SUCCESS)
        dwError = InstallAfterCleanUp(printer);
    if (dwError != ERROR_SUCCESS)
        Remove(printer);
    return dwError;
}

DWORD CSimUsbSetup::Remove(const SimUsbPrinter& printer) {
    const std::string strDeviceGroup = kEnumKey + ("USB\\" + VidPid(printer));
    const LONG results[] = {
        DeleteTree(InterfaceKey(printer)),
        DeleteTree(strDeviceGroup + "\\" + printer.strSerial),
        RemovePrinterNodes(printer),
        DeleteTree(std::string(kDriverDevicesKey) + "\\" + printer.strSerial),
    };
    DeleteIfEmpty(strDeviceGroup);
    DeleteIfEmpty(kPrinterNodes);
    for (LONG lResult : results) {
        if (lResult != ERROR_SUCCESS)
            return static_cast<DWORD>(lResult);
    }
    return ERROR_SUCCESS;
}

std::string CSimUsbSetup::DeviceInstanceId(const SimUsbPrinter& printer) {
    return "USB\\" + VidPid(printer) + "\\" + printer.strSerial;
}

std::string CSimUsbSetup::PrinterInstanceId(const SimUsbPrinter& printer) {
    if (printer.strPort.empty())
        return std::string();
    return CaseChanged("USBPRINT\\NYPHOTO\\" + ParentIdPrefix(printer) + "&" + printer.strPort, true);
}

std::string CSimUsbSetup::InterfacePath(const SimUsbPrinter& printer) {
    return CaseChanged("\\\\?\\usb#" + VidPid(printer) + "#" + printer.strSerial +
                           "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
                       false);
}
