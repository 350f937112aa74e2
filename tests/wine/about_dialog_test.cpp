// The About and device information dialogs on printers of Wine's spooler,
// watched by the monitor window as the agent wires it: the About export holds
// every printer's tree, and the information dialog offers Logs... for USB printers only.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "devices/devices.h"
#include "monitor/dialog_monitor.h"
#include "monitor/tray_state.h"
#include "resources/resource_ids.h"
#include "tests/wine/run_later.h"
#include "tests/wine/test_printer.h"
#include "ui/about_dlg.h"
#include "ui/info_dlg.h"
#include "ui/status_window_source.h"

namespace {

// The monitor window, its printer set synchronised with the spooler once; the
// fixture is the tray, and ignores it.
class DialogsTest : public ::testing::Test, public CTrayState {
protected:
    void SetState(int) override {}
    void PostDestroy() override {}
    void Start() {
        m_pMonitor = std::make_unique<CDialogMonitor>(m_devices, m_windows, FALSE);
        ASSERT_TRUE(m_pMonitor->Create(nullptr));
        SendMessageA(m_pMonitor->GetSafeHwnd(), CDialogMonitor::kMessageInit,
                     reinterpret_cast<WPARAM>(static_cast<CTrayState*>(this)), 0);
    }

    CDevices m_devices;
    CNyAgentWindows m_windows;
    std::unique_ptr<CDialogMonitor> m_pMonitor;
};

} // namespace

TEST_F(DialogsTest, AboutExportHoldsEveryPrinterAndLogsAreOfferedForUsbOnly) {
    // Each printer's tree as its information gives it: the printer data that
    // stands in for a device that answers nothing, and the tree made of it,
    // are checked with the printer set and natively.
    const CTestPrinter usb(UniqueName("Kestrel About USB "), "USB987", "Kestrel 2004");
    const CTestPrinter lpt(UniqueName("Kestrel About LPT "), UniqueName("LPT"), "Kestrel 2005");
    Start();
    std::vector<const CDeviceControl*> controls;
    m_pMonitor->GetPrinters().ForEach([&](const CDeviceControl& control) { controls.push_back(&control); });

    char szPath[MAX_PATH];
    GetTempPathA(MAX_PATH, szPath);
    const std::string strPath = std::string(szPath) + UniqueName("about") + ".Info";
    CAboutDlg about(m_pMonitor.get(), nullptr);
    WhenDialogShows(IDC_STATIC_LEGAL, [&](HWND) { EXPECT_TRUE(about.Export(strPath.c_str())); });
    EXPECT_EQ(IDOK, about.DoModal(nullptr));
    std::ifstream stream(strPath, std::ios::binary);
    const std::string strBytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    stream.close();
    DeleteFileA(strPath.c_str());

    // UTF-16LE after the byte-order mark; the names are ASCII.
    ASSERT_EQ(0, strBytes.compare(0, 2, "\xFF\xFE"));
    std::string strText;
    for (std::size_t i = 2; i + 1 < strBytes.size(); i += 2)
        strText += strBytes[i + 1] == 0 ? strBytes[i] : '?';
    EXPECT_NE(std::string::npos, strText.find(" version 4.0\r\n")) << strText;
    EXPECT_NE(std::string::npos, strText.find("Printer Name : \"" + usb.Name() +
                                              "\"\r\n\tPort Name : \"USB987\"\r\n\tShared : \"No\"\r\n"
                                              "\tDevice (Not connected)\r\n"));
    // One subtree per printer, in the set's order; the information dialog offers Logs... for USB only.
    std::size_t nAt = 0;
    for (const CDeviceControl* pControl : controls) {
        const std::string strName = pControl->GetPrinterName();
        nAt = strText.find("\r\nPrinter Name : \"" + strName + "\"\r\n\t", nAt);
        EXPECT_NE(std::string::npos, nAt) << strName;
        if (strName != usb.Name() && strName != lpt.Name())
            continue; // another test's printer
        CDeviceInformation information;
        pControl->ReadDeviceInformation(information);
        CInfoDlg info(pControl, &information);
        bool bLogsShown = strName != usb.Name();
        WhenDialogShows(IDC_BUTTON_LOGS, [&](HWND hDlg) {
            // The button's own style: the dialog may not be shown yet.
            bLogsShown = (GetWindowLongA(GetDlgItem(hDlg, IDC_BUTTON_LOGS), GWL_STYLE) & WS_VISIBLE) != 0;
        });
        EXPECT_EQ(IDOK, info.DoModal(nullptr));
        EXPECT_EQ(strName == usb.Name(), bLogsShown) << strName;
    }
}
