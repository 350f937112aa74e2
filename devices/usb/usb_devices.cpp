#include "devices/usb/usb_devices.h"

#include <array>
#include <memory>
#include <new>

#include <cfgmgr32.h>
#include <setupapi.h>

#include "app/trace.h"
#include "app/winver.h"
#include "framework/unique_device_list.h"
#include "devices/usb/usb_match.h"

namespace {

// The device interface of the USB printing class driver, named as in its own header.
const GUID GUID_DEVINTERFACE_USBPRINT = {
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};

constexpr DWORD kBufferSize = 4096;
// A property or path buffer: what a call may fill, and one NUL behind it.
using PropertyBuffer = std::array<char, kBufferSize + 1>;

DWORD WithoutNoMoreItems(DWORD dwError) {
    return dwError == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : dwError;
}

DWORD ReadProperty(HDEVINFO hDevInfo, SP_DEVINFO_DATA& devInfo, DWORD dwProperty, PropertyBuffer& buffer) {
    buffer.fill(0);
    if (SetupDiGetDeviceRegistryPropertyA(hDevInfo, &devInfo, dwProperty, nullptr,
                                          reinterpret_cast<BYTE*>(buffer.data()), kBufferSize, nullptr))
        return ERROR_SUCCESS;
    return GetLastError();
}

// The instance id of the device's first child node, or empty text.
std::string ReadChildDeviceId(const char* pszCaller, DEVINST dnDevice) {
    DEVINST dnChild = 0;
    if (CM_Get_Child(&dnChild, dnDevice, 0) != CR_SUCCESS || dnChild == 0)
        return std::string();
    ULONG ulSize = 0;
    CONFIGRET cr = CM_Get_Device_ID_Size(&ulSize, dnChild, 0);
    if (cr != CR_SUCCESS) {
        DebugTrace("%s : CM_Get_Device_ID_Size() failed. GetLastError() = %d\n", pszCaller,
                   static_cast<int>(cr));
        return std::string();
    }
    std::unique_ptr<char[]> pszDeviceId(new (std::nothrow) char[ulSize + 1]());
    if (!pszDeviceId) {
        DebugTrace("%s : Unable to alloc strDeviceID\n", pszCaller);
        return std::string();
    }
    cr = CM_Get_Device_IDA(dnChild, pszDeviceId.get(), ulSize + 1, 0);
    if (cr != CR_SUCCESS) {
        DebugTrace("%s : CM_Get_Device_ID() failed. CR_XXX = 0x%08x\n", pszCaller, static_cast<unsigned>(cr));
        return std::string();
    }
    return std::string(pszDeviceId.get());
}

bool Match2K(const std::string& strHardwareId, const std::string& strService,
             const std::string& strDeviceId) {
    return IsFamilyPrinter2K(strHardwareId, strService, strDeviceId);
}

bool Match9x(const std::string& strHardwareId, const std::string& strDescription, const std::string&) {
    return IsFamilyPrinter9x(strHardwareId, strDescription);
}

} // namespace

DWORD CUsbDevices::Synchronise() {
    const DWORD dwError = SearchDevice();
    if (dwError != ERROR_SUCCESS) {
        DebugTrace("CUsbDevice::SearchDevice() : SearchDevice() failed. GetLastError() = %d\n",
                   static_cast<int>(dwError));
        return dwError;
    }
    if (m_lstDevices.empty()) {
        DebugTrace("CUsbDevices::Synchronise() : Devices list is empty\n");
        return ERROR_SUCCESS;
    }
    for (const CUsbDeviceEntry& entry : m_lstDevices)
        DebugTrace("CUsbDevices::Synchronise() : %s\n", entry.m_strDeviceId.c_str());
    return ERROR_SUCCESS;
}

DWORD CUsbDevices::SearchDevice() {
    const bool b2K = IsWin2000OrLater() != FALSE;
    const DWORD dwError = b2K ? SearchDevice2K() : SearchDevice9x();
    if (dwError != ERROR_SUCCESS)
        DebugTrace("CUsbDevices::SearchDevice() : SearchDevice%s() failed. GetLastError() = %d\n",
                   b2K ? "2K" : "9x", static_cast<int>(dwError));
    return dwError;
}

DWORD CUsbDevices::SearchDevice2K() {
    // The hardware id's trace carries a doubled class prefix; its text is kept as it is.
    static const CSearchKind kind = {"CUsbDevices::SearchDevice2K()",
                                     "CUsbDevices::SearchDevice2K::SearchDevice2K()",
                                     SPDRP_SERVICE,
                                     "SPDRP_SERVICE",
                                     true,
                                     Match2K};
    return Search(kind);
}

DWORD CUsbDevices::SearchDevice9x() {
    static const CSearchKind kind = {"CUsbDevices::SearchDevice9x()",
                                     "CUsbDevices::SearchDevice9x()",
                                     SPDRP_DEVICEDESC,
                                     "SPDRP_DEVICEDESC",
                                     false,
                                     Match9x};
    return Search(kind);
}

bool CUsbDevices::GetDevicePath(const std::string& strPort, std::string& strDevicePath) const {
    for (const CUsbDeviceEntry& entry : m_lstDevices) {
        if (entry.m_strDeviceId.find(strPort) != std::string::npos) {
            strDevicePath = entry.m_strDevicePath;
            return true;
        }
    }
    return false;
}

DWORD CUsbDevices::Search(const CSearchKind& kind) {
    m_lstDevices.clear();
    const CUniqueDeviceList list(SetupDiGetClassDevsA(
        nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES | DIGCF_DEVICEINTERFACE));
    if (!list) {
        const DWORD dwError = GetLastError();
        DebugTrace("%s : SetupDiGetClassDevs() failed. GetLastError() = %d\n", kind.pszCaller,
                   static_cast<int>(dwError));
        return WithoutNoMoreItems(dwError);
    }
    const HDEVINFO hDevInfo = list.Get();

    PropertyBuffer first;
    PropertyBuffer hardwareId;
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) std::array<BYTE, kBufferSize + 1> detail;
    DWORD dwResult = ERROR_SUCCESS;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        SP_DEVINFO_DATA devInfo = {};
        devInfo.cbSize = sizeof(devInfo);
        if (!SetupDiEnumDeviceInfo(hDevInfo, dwIndex, &devInfo)) {
            dwResult = GetLastError();
            if (dwResult != ERROR_NO_MORE_ITEMS)
                DebugTrace("%s : SetupDiEnumDeviceInfo() failed. GetLastError() = %d\n", kind.pszCaller,
                           static_cast<int>(dwResult));
            break;
        }

        // An absent property (13) is normal: the device is not a printer of ours.
        dwResult = ReadProperty(hDevInfo, devInfo, kind.dwFirstProperty, first);
        if (dwResult == ERROR_INVALID_DATA)
            continue;
        if (dwResult != ERROR_SUCCESS) {
            DebugTrace("%s : SetupDiGetDeviceRegistryProperty(%s) failed. GetLastError() = %d\n",
                       kind.pszCaller, kind.pszFirstProperty, static_cast<int>(dwResult));
            break;
        }
        dwResult = ReadProperty(hDevInfo, devInfo, SPDRP_HARDWAREID, hardwareId);
        if (dwResult == ERROR_INVALID_DATA)
            continue;
        if (dwResult != ERROR_SUCCESS) {
            DebugTrace(
                "%s : SetupDiGetDeviceRegistryProperty(SPDRP_HARDWAREID) failed. GetLastError() = %d\n",
                kind.pszHardwareIdCaller, static_cast<int>(dwResult));
            break;
        }
        if (kind.bUpperCaseFirst)
            UpperCaseInPlace(first.data());
        UpperCaseInPlace(hardwareId.data());

        const std::string strDeviceId = ReadChildDeviceId(kind.pszCaller, devInfo.DevInst);

        // A device without a USB printing interface (259) is not a printer either.
        SP_DEVICE_INTERFACE_DATA interfaceData = {};
        interfaceData.cbSize = sizeof(interfaceData);
        if (!SetupDiEnumDeviceInterfaces(hDevInfo, &devInfo, &GUID_DEVINTERFACE_USBPRINT, 0,
                                         &interfaceData)) {
            dwResult = GetLastError();
            if (dwResult == ERROR_NO_MORE_ITEMS)
                continue;
            DebugTrace("%s : SetupDiEnumDeviceInterfaces() failed. GetLastError() = %d\n", kind.pszCaller,
                       static_cast<int>(dwResult));
            break;
        }

        detail.fill(0);
        auto* pDetail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(detail.data());
        pDetail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!SetupDiGetDeviceInterfaceDetailA(hDevInfo, &interfaceData, pDetail, kBufferSize, nullptr,
                                              &devInfo)) {
            dwResult = GetLastError();
            DebugTrace("%s : SetupDiGetDeviceInterfaceDetail() failed. GetLastError() = %d\n", kind.pszCaller,
                       static_cast<int>(dwResult));
            break;
        }

        if (kind.pfnMatch(hardwareId.data(), first.data(), strDeviceId))
            m_lstDevices.emplace_back(pDetail->DevicePath, strDeviceId);
    }
    return WithoutNoMoreItems(dwResult);
}
