// The installation check on device nodes made with Wine's SetupAPI, the
// restart prompt answered from a timer, and the monitor's Windows 98 gate.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>
#include <setupapi.h>

#include "app/nyagent_app.h"
#include "app/registry.h"
#include "app/strings.h"
#include "app/winver.h"
#include "devices/devices.h"
#include "monitor/dialog_monitor.h"
#include "monitor/installation_check.h"
#include "resources/string_ids.h"
#include "tests/wine/test_printer.h"
#include "ui/status_window_source.h"

namespace {

const GUID kOtherClass = {0x4D36E97E, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// A device node registered in the system's list; removed at the end if still there.
class CTestDevice {
public:
    CTestDevice(std::string strHardwareId, const std::string& strClass) {
        strHardwareId.append(2, '\0');
        const auto set = [&](DWORD dwProperty, const std::string& strValue, std::size_t cbValue) {
            return SetupDiSetDeviceRegistryPropertyA(m_hList, &m_data, dwProperty,
                                                     reinterpret_cast<const BYTE*>(strValue.c_str()),
                                                     static_cast<DWORD>(cbValue));
        };
        EXPECT_TRUE(
            SetupDiCreateDeviceInfoA(m_hList, m_strId.c_str(), &kOtherClass, nullptr, nullptr, 0, &m_data) &&
            set(SPDRP_HARDWAREID, strHardwareId, strHardwareId.size()) &&
            set(SPDRP_CLASS, strClass, strClass.size() + 1) &&
            SetupDiRegisterDeviceInfo(m_hList, &m_data, 0, nullptr, nullptr, nullptr));
    }
    ~CTestDevice() {
        if (Exists())
            SetupDiRemoveDevice(m_hList, &m_data);
        SetupDiDestroyDeviceInfoList(m_hList);
    }
    bool Exists() const {
        const HDEVINFO hList = SetupDiCreateDeviceInfoList(nullptr, nullptr);
        SP_DEVINFO_DATA data = {sizeof(data), {}, 0, 0};
        const bool bFound = SetupDiOpenDeviceInfoA(hList, m_strId.c_str(), nullptr, 0, &data);
        SetupDiDestroyDeviceInfoList(hList);
        return bFound;
    }

private:
    std::string m_strId = "ROOT\\NYTEST\\" + UniqueName("D");
    HDEVINFO m_hList = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    SP_DEVINFO_DATA m_data = {sizeof(m_data), {}, 0, 0};
};

int g_nAnswer = 0;
std::string g_strPrompt;
std::vector<UINT> g_restarts;

// Runs inside the message box's own loop: answers it with g_nAnswer.
void CALLBACK AnswerPrompt(HWND, UINT, UINT_PTR, DWORD) {
    const HWND hBox = FindWindowA("#32770", CNyAgentApp::GetProductName());
    char szText[512] = {};
    if (hBox && GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText))) {
        g_strPrompt = szText;
        PostMessageA(hBox, WM_COMMAND, g_nAnswer, 0);
    }
}

BOOL WINAPI RecordRestart(UINT uFlags, DWORD) {
    g_restarts.push_back(uFlags);
    return TRUE;
}

class InstallationTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 6, 1);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Tessel\\Tessel Photo\\NyAgent", "Reboot");
    }
};

} // namespace

TEST_F(InstallationTest, RemovesOnlyFamilyDevicesOfClassUnknown) {
    const struct {
        const char *pszHardwareId, *pszClass;
        bool bRemoved;
    } cases[] = {{"USB\\VID_0E7A&KESTREL_PRINTER_5E31&REV_0100", "Unknown", true},
                 {"usb\\kestrelprinter1b4d", "Unknown", true},
                 {"USB\\KORVA_BRINDLE_9D02", "Printer", false},
                 {"USB\\KESTREL_PRINTERA27C", "unknown", false},
                 {"USB\\VID_0E7A&PID_003C", "Unknown", false}};
    std::vector<std::unique_ptr<CTestDevice>> devices;
    for (const auto& c : cases)
        devices.push_back(std::make_unique<CTestDevice>(c.pszHardwareId, c.pszClass));
    EXPECT_TRUE(CDevice::CheckPrintersInstallation());
    for (std::size_t i = 0; i < devices.size(); ++i)
        EXPECT_EQ(!cases[i].bRemoved, devices[i]->Exists()) << cases[i].pszHardwareId;
    EXPECT_FALSE(CDevice::CheckPrintersInstallation());
}

TEST_F(InstallationTest, ThreePromptsAtMostAndARestartOnYes) {
    // Counter before and after, system (NT major version), answer (IDCANCEL: no prompt expected).
    const struct {
        DWORD dwBefore, dwAfter, dwMajor;
        int nAnswer;
    } cases[] = {{0, 1, 5, IDNO}, {2, 3, 5, IDYES}, {1, 2, 4, IDYES}, {3, 3, 5, IDCANCEL}};
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 50, AnswerPrompt);
    for (const auto& c : cases) {
        CRegistry::SetHowManyReboots(c.dwBefore);
        SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, c.dwMajor, 0);
        g_nAnswer = c.nAnswer;
        g_strPrompt.clear();
        g_restarts.clear();
        OnRebootRequired(RecordRestart);
        DWORD dwCounter = 0;
        CRegistry::GetHowManyReboots(dwCounter, 99);
        EXPECT_EQ(c.dwAfter, dwCounter);
        EXPECT_EQ(c.nAnswer == IDCANCEL ? "" : LoadString(IDS_REBOOT_PROMPT), g_strPrompt);
        EXPECT_EQ(c.nAnswer == IDYES ? std::vector<UINT>{EWX_REBOOT} : std::vector<UINT>{}, g_restarts);
    }
    KillTimer(nullptr, nTimer);
}

TEST_F(InstallationTest, MonitorChecksEvery30TicksOnWindows98Only) {
    CRegistry::SetHowManyReboots(3);
    CDevices devices;
    CNyAgentWindows windows;
    for (const DWORD dwPlatform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS}) {
        SetWindowsVersionForTesting(dwPlatform, 4, 10);
        const CTestDevice device("USB\\KESTREL_PRINTER_5E31", "Unknown");
        CDialogMonitor monitor(devices, windows, FALSE);
        ASSERT_TRUE(monitor.Create(nullptr));
        Pump(3600, [&] { return !device.Exists(); });
        EXPECT_EQ(dwPlatform == VER_PLATFORM_WIN32_NT, device.Exists());
    }
}
