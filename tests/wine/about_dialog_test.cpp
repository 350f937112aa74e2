// The About and device information dialogs on printers of Wine's spooler,
// watched by the monitor window as the agent wires it: the About export holds
// every printer's tree, and the Logs button is offered for USB printers only.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "devices/devices.h"
#include "monitor/dialog_monitor.h"
#include "monitor/tray_state.h"
#include "resources/resource_ids.h"
#include "tests/wine/test_printer.h"
#include "ui/about_dlg.h"
#include "ui/info_dlg.h"
#include "ui/status_window_source.h"

namespace {

class CSilentTray : public CTrayState {
public:
    void SetState(int) override {}
    void PostDestroy() override {}
};

// The monitor window with its printer set synchronised once.
class DialogsTest : public ::testing::Test {
protected:
    void Start() {
        m_pMonitor = std::make_unique<CDialogMonitor>(m_devices, m_windows, FALSE);
        ASSERT_TRUE(m_pMonitor->Create(nullptr));
        SendMessageA(m_pMonitor->GetSafeHwnd(), CDialogMonitor::kMessageInit,
                     reinterpret_cast<WPARAM>(static_cast<CTrayState*>(&m_tray)), 0);
    }
    void TearDown() override { m_pMonitor.reset(); }

    CDevices m_devices;
    CNyAgentWindows m_windows;
    CSilentTray m_tray;
    std::unique_ptr<CDialogMonitor> m_pMonitor;
};

// Runs a modal dialog and, from its own message loop, pfnWhileOpen on its window.
template <typename TDialog, typename TAction>
INT_PTR RunWhileOpen(TDialog& dialog, HWND hParent, TAction fnWhileOpen) {
    static std::function<void()> s_fnTick;
    s_fnTick = [&] {
        if (const HWND hDlg = dialog.GetSafeHwnd()) {
            fnWhileOpen(hDlg);
            dialog.EndDialog(IDOK);
        }
    };
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { s_fnTick(); });
    const INT_PTR nResult = dialog.DoModal(hParent);
    KillTimer(nullptr, nTimer);
    return nResult;
}

// The file's lines, from UTF-16LE text with CR LF line ends after the byte-order mark.
std::vector<std::string> ReadUnicodeLines(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    const std::string strBytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(0, strBytes.compare(0, 2, "\xFF\xFE"));
    std::string strText;
    for (std::size_t i = 2; i + 1 < strBytes.size(); i += 2) {
        EXPECT_EQ(0, strBytes[i + 1]) << "not ASCII at " << i;
        strText += strBytes[i];
    }
    std::vector<std::string> lines;
    std::size_t nStart = 0;
    for (std::size_t nEnd; (nEnd = strText.find("\r\n", nStart)) != std::string::npos; nStart = nEnd + 2) {
        lines.push_back(strText.substr(nStart, nEnd - nStart));
        EXPECT_EQ(std::string::npos, lines.back().find_first_of("\r\n")) << lines.back();
    }
    EXPECT_EQ(nStart, strText.size()) << "text after the last CR LF";
    return lines;
}

} // namespace

TEST_F(DialogsTest, AboutExportHoldsEveryPrinter) {
    // A USB printer without its device answers nothing: its printer data stands in.
    CTestPrinter known(UniqueName("Kestrel About USB "), "USB987", "Kestrel 2004");
    CTestPrinter lpt(UniqueName("Kestrel About LPT "), UniqueName("LPT"), "Kestrel 2005");
    CTestPrinter file(UniqueName("Kestrel About File "), UniqueName("FILE"), "Kestrel 2006");
    known.SetPrinterData("FirmwareVersion", "1.2.3");
    known.SetPrinterData("SerialNumber", "SN42");
    Start();
    std::vector<std::string> names;
    m_pMonitor->GetPrinters().ForEach(
        [&](const CDeviceControl& control) { names.push_back(control.GetPrinterName()); });
    ASSERT_GE(names.size(), 3u);

    char szPath[MAX_PATH];
    GetTempPathA(MAX_PATH, szPath);
    const std::string strPath = std::string(szPath) + UniqueName("about") + ".Info";
    CAboutDlg dialog(m_pMonitor.get(), nullptr);
    BOOL bExported = FALSE;
    EXPECT_EQ(IDOK, RunWhileOpen(dialog, nullptr, [&](HWND) { bExported = dialog.Export(strPath.c_str()); }));
    ASSERT_TRUE(bExported);

    const std::vector<std::string> lines = ReadUnicodeLines(strPath);
    DeleteFileA(strPath.c_str());
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(0u, lines[0].find("NyAgent : About Information : "));
    EXPECT_EQ(std::string(78, '='), lines[1]);
    EXPECT_NE(std::string::npos, lines[2].find(" version 4.0")) << lines[2];
    EXPECT_EQ(std::string(78, '='), lines[4]);
    // One subtree per printer, in the set's order, children indented.
    std::vector<std::string> roots, knownItems;
    for (std::size_t i = 5; i < lines.size(); ++i) {
        if (lines[i][0] != '\t')
            roots.push_back(lines[i]);
        else if (!roots.empty() && roots.back() == "Printer Name : \"" + known.Name() + "\"")
            knownItems.push_back(lines[i]);
    }
    ASSERT_EQ(names.size(), roots.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ("Printer Name : \"" + names[i] + "\"", roots[i]);
    // Firmware first.
    ASSERT_GE(knownItems.size(), 5u);
    EXPECT_EQ("\tDevice (Not connected)", knownItems[2]);
    EXPECT_EQ("\t\tFirmware : \"1.2.3\"", knownItems[3]);
    EXPECT_EQ("\t\tSerial Number : \"SN42\"", knownItems[4]);
}

TEST_F(DialogsTest, LogsButtonOnlyForUsbPrinters) {
    const struct {
        std::string strPort;
        bool bLogs;
    } cases[] = {{"USB986", true}, {UniqueName("LPT"), false}, {UniqueName("FILE"), false}};
    std::vector<std::unique_ptr<CTestPrinter>> printers;
    for (const auto& c : cases)
        printers.push_back(
            std::make_unique<CTestPrinter>(UniqueName("Kestrel Info "), c.strPort, "Kestrel 2004"));
    Start();
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const CDeviceControl* pControl = nullptr;
        m_pMonitor->GetPrinters().ForEach([&](const CDeviceControl& control) {
            if (control.GetPrinterName() == printers[i]->Name())
                pControl = &control;
        });
        ASSERT_NE(nullptr, pControl);
        CDeviceInformation information;
        pControl->ReadDeviceInformation(information);
        CInfoDlg dialog(pControl, &information);
        bool bLogsShown = !cases[i].bLogs;
        char szRoot[256] = {};
        RunWhileOpen(dialog, m_pMonitor->GetSafeHwnd(), [&](HWND hDlg) {
            bLogsShown = IsWindowVisible(GetDlgItem(hDlg, IDC_BUTTON_LOGS)) != FALSE;
            const HWND hTree = GetDlgItem(hDlg, IDC_TREE_DEVICE);
            TVITEMA item = {};
            item.mask = TVIF_TEXT | TVIF_STATE;
            item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            item.pszText = szRoot;
            item.cchTextMax = sizeof(szRoot);
            item.stateMask = TVIS_EXPANDED;
            SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            EXPECT_TRUE(item.state & TVIS_EXPANDED);
        });
        EXPECT_EQ(cases[i].bLogs, bLogsShown) << cases[i].strPort;
        EXPECT_EQ("Printer Name : \"" + printers[i]->Name() + "\"", std::string(szRoot));
    }
}
