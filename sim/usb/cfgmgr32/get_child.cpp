// CM_Get_Child of the stand-in configuration manager. Wine's own answers
// success without naming a child, so the stand-in looks the child up in the
// registry: the printer node below a USB device is the key under
// Enum\USBPRINT\<model> whose name starts with the device's ParentIdPrefix
// and "&". The child is opened in a device information list that lives as
// long as the process, so that SetupAPI's CM_Get_Device_ID_Size and
// CM_Get_Device_IDA, to which the other exports go, know its node.
#include <string>

#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

#include "framework/unique_key.h"

namespace {

const char kEnumKey[] = "System\\CurrentControlSet\\Enum\\";

std::string ReadParentIdPrefix(DEVINST dnDevice) {
    char szDeviceId[MAX_DEVICE_ID_LEN + 1] = {};
    if (CM_Get_Device_IDA(dnDevice, szDeviceId, sizeof(szDeviceId), 0) != CR_SUCCESS)
        return std::string();
    CUniqueKey device;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kEnumKey + std::string(szDeviceId)).c_str(), 0, KEY_READ,
                      device.Receive()) != ERROR_SUCCESS)
        return std::string();
    char szPrefix[MAX_DEVICE_ID_LEN + 1] = {};
    DWORD cbPrefix = MAX_DEVICE_ID_LEN;
    DWORD dwType = 0;
    if (RegQueryValueExA(device.Get(), "ParentIdPrefix", nullptr, &dwType, reinterpret_cast<BYTE*>(szPrefix),
                         &cbPrefix) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return std::string();
    return szPrefix;
}

// The name of the first subkey whose name starts with strStart, or empty text.
std::string FindSubKey(HKEY hKey, const std::string& strStart) {
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[MAX_DEVICE_ID_LEN + 1];
        DWORD cchName = sizeof(szName);
        if (RegEnumKeyExA(hKey, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return std::string();
        if (_strnicmp(szName, strStart.c_str(), strStart.size()) == 0)
            return szName;
    }
}

// USBPRINT\<model>\<prefix>&<port>, or empty text.
std::string FindPrinterNode(const std::string& strPrefix) {
    CUniqueKey printers;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kEnumKey + std::string("USBPRINT")).c_str(), 0, KEY_READ,
                      printers.Receive()) != ERROR_SUCCESS)
        return std::string();
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szModel[MAX_DEVICE_ID_LEN + 1];
        DWORD cchModel = sizeof(szModel);
        if (RegEnumKeyExA(printers.Get(), dwIndex, szModel, &cchModel, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return std::string();
        CUniqueKey model;
        if (RegOpenKeyExA(printers.Get(), szModel, 0, KEY_READ, model.Receive()) != ERROR_SUCCESS)
            continue;
        const std::string strNode = FindSubKey(model.Get(), strPrefix + "&");
        if (!strNode.empty())
            return std::string("USBPRINT\\") + szModel + "\\" + strNode;
    }
}

HDEVINFO ChildList() {
    static const HDEVINFO hList = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    return hList;
}

} // namespace

extern "C" CONFIGRET WINAPI CM_Get_Child(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags) {
    if (!pdnDevInst)
        return CR_INVALID_POINTER;
    *pdnDevInst = 0;
    if (ulFlags != 0)
        return CR_INVALID_FLAG;
    const std::string strPrefix = ReadParentIdPrefix(dnDevInst);
    const std::string strChild = strPrefix.empty() ? std::string() : FindPrinterNode(strPrefix);
    SP_DEVINFO_DATA child = {};
    child.cbSize = sizeof(child);
    if (strChild.empty() || ChildList() == INVALID_HANDLE_VALUE ||
        !SetupDiOpenDeviceInfoA(ChildList(), strChild.c_str(), nullptr, 0, &child))
        return CR_NO_SUCH_DEVNODE;
    *pdnDevInst = child.DevInst;
    return CR_SUCCESS;
}
