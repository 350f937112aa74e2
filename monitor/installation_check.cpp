#include "monitor/installation_check.h"

#include <cstring>

#include <setupapi.h>

#include "app/nyagent_app.h"
#include "app/registry.h"
#include "app/strings.h"
#include "app/trace.h"
#include "app/winver.h"
#include "framework/unique_device_list.h"
#include "monitor/device.h"
#include "resources/string_ids.h"

namespace {

// The printer setup class. With DIGCF_ALLCLASSES the list holds every class.
const GUID kPrinterClass = {0x4D36E979, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// Searched in this order in the upper-cased hardware id.
const char* const kFamilyHardwareIds[] = {"KORVA_BRINDLE_9D02", "KESTREL_PRINTER_5E31", "KESTREL_PRINTERA27C",
                                          "KESTRELPRINTER1B4D"};

constexpr DWORD kPropertySize = 4096;
constexpr DWORD kMaxRebootPrompts = 3;

// A property as text: the buffer holds two more zero bytes than the read may
// fill, so that the first string always ends.
struct CPropertyText {
    char szText[kPropertySize + 2] = {};
};

BOOL ReadProperty(HDEVINFO hList, SP_DEVINFO_DATA& devInfo, DWORD dwProperty, CPropertyText& text) {
    return SetupDiGetDeviceRegistryPropertyA(hList, &devInfo, dwProperty, nullptr,
                                             reinterpret_cast<BYTE*>(text.szText), kPropertySize, nullptr);
}

bool IsFamilyHardwareId(const char* pszUpperId) {
    for (const char* pszFamilyId : kFamilyHardwareIds) {
        if (std::strstr(pszUpperId, pszFamilyId))
            return true;
    }
    return false;
}

// The device is of the family and its class is exactly "Unknown".
bool IsBadlyInstalled(HDEVINFO hList, SP_DEVINFO_DATA& devInfo, const char* pszUpperId) {
    if (!*pszUpperId || !IsFamilyHardwareId(pszUpperId))
        return false;
    CPropertyText className;
    if (!ReadProperty(hList, devInfo, SPDRP_CLASS, className)) {
        DebugTrace("CDevice::CheckPrintersInstallation() : SetupDiGetDeviceRegistryProperty(SPDRP_CLASS) "
                   "failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return false;
    }
    if (std::strcmp(className.szText, "Unknown") != 0)
        return false;
    DebugTrace("CDevice::CheckPrintersInstallation() : Class is 'Unknown' for %s\n", pszUpperId);
    return true;
}

} // namespace

BOOL CDevice::CheckPrintersInstallation() {
    const CUniqueDeviceList list(SetupDiGetClassDevsA(&kPrinterClass, nullptr, nullptr, DIGCF_ALLCLASSES));
    if (!list) {
        DebugTrace(
            "CDevice::CheckPrintersInstallation() : SetupDiGetClassDevs() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
        return FALSE;
    }
    BOOL bRemoved = FALSE;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        SP_DEVINFO_DATA devInfo = {};
        devInfo.cbSize = sizeof(devInfo);
        if (!SetupDiEnumDeviceInfo(list.Get(), dwIndex, &devInfo)) {
            const DWORD dwError = GetLastError();
            if (dwError != ERROR_NO_MORE_ITEMS)
                DebugTrace("CDevice::CheckPrintersInstallation() : SetupDiEnumDeviceInfo() failed. "
                           "GetLastError() = %d\n",
                           static_cast<int>(dwError));
            break;
        }
        CPropertyText hardwareId;
        if (ReadProperty(list.Get(), devInfo, SPDRP_HARDWAREID, hardwareId))
            CharUpperA(hardwareId.szText);
        else
            hardwareId.szText[0] = '\0';
        if (!IsBadlyInstalled(list.Get(), devInfo, hardwareId.szText))
            continue;
        if (SetupDiRemoveDevice(list.Get(), &devInfo)) {
            DebugTrace("CDevice::CheckPrintersInstallation() : SetupDiRemoveDevice(%s) SUCCESS\n",
                       hardwareId.szText);
            bRemoved = TRUE;
        } else {
            DebugTrace(
                "CDevice::CheckPrintersInstallation() : SetupDiRemoveDevice() failed. GetLastError() = %d\n",
                static_cast<int>(GetLastError()));
        }
    }
    return bRemoved;
}

void OnRebootRequired(ExitWindowsFn pfnExitWindows) {
    DWORD dwReboots = 0;
    CRegistry::GetHowManyReboots(dwReboots, 0);
    if (dwReboots >= kMaxRebootPrompts) {
        DebugTrace("CNyAgentDlg::OnRebootRequired() : We need to reboot, but too many reboots have been "
                   "performed, so...");
        return;
    }
    // Counted before the answer: a declined prompt uses one up too.
    CRegistry::SetHowManyReboots(dwReboots + 1);
    const std::string strPrompt = LoadString(IDS_REBOOT_PROMPT);
    if (MessageBoxA(nullptr, strPrompt.c_str(), CNyAgentApp::GetProductName(), MB_YESNO) != IDYES)
        return;
    if (IsWin2000OrLater())
        RebootWithPrivilege(pfnExitWindows);
    else
        pfnExitWindows(EWX_REBOOT, 0);
}

BOOL RebootWithPrivilege(ExitWindowsFn pfnExitWindows) {
    HANDLE hOpened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hOpened))
        return FALSE;
    const CUniqueHandle hToken(hOpened);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    BOOL bEnabled = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    if (bEnabled) {
        // The adjustment can succeed and still leave an error (privilege not
        // held): only a clean one allows the restart.
        SetLastError(ERROR_SUCCESS);
        AdjustTokenPrivileges(hToken.Get(), FALSE, &privileges, 0, nullptr, nullptr);
        bEnabled = GetLastError() == ERROR_SUCCESS;
    }
    return bEnabled && pfnExitWindows(EWX_REBOOT, 0);
}
