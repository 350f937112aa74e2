#include "ui/device_tree_view.h"

#include "app/nyagent_app.h"
#include "app/strings.h"
#include "resources/resource_ids.h"
#include "ui/menu_layout.h"

namespace {

HTREEITEM InsertItem(HWND hTree, HTREEITEM hParent, const device_tree::Item& item) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(item.strText.c_str());
    insert.item.iImage = item.nImage;
    insert.item.iSelectedImage = item.nImage + 1;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// The printer's branches with children, by their place among its children.
const char* BranchName(std::size_t nIndex) {
    static const char* const s_names[] = {"Port", "Shared", "Device", "WiFi", "Driver"};
    return nIndex < sizeof(s_names) / sizeof(s_names[0]) ? s_names[nIndex] : "?";
}

void InsertChildren(HWND hTree, HTREEITEM hParent, const device_tree::Item& item, int nDepth) {
    for (std::size_t i = 0; i < item.children.size(); ++i) {
        const device_tree::Item& child = item.children[i];
        const HTREEITEM hChild = InsertItem(hTree, hParent, child);
        if (!hChild) {
            if (nDepth == 0 && !child.children.empty())
                DebugTrace("CInfoDlg::OnInitDialog() : InsertItem(%s) returns NULL\n", BranchName(i));
            continue;
        }
        InsertChildren(hTree, hChild, child, nDepth + 1);
    }
}

} // namespace

BOOL CTreeImageList::Load(unsigned nDpi) {
    Reset();
    const int nSize = menu_layout::ScaleForDpi(16, nDpi);
    m_hImageList = ImageList_Create(nSize, nSize, ILC_COLOR32 | ILC_MASK, device_tree::kImageCount, 0);
    if (!m_hImageList) {
        DebugTrace("CTreeImageList::Load() : ImageList_Create() failed\n");
        return FALSE;
    }
    for (int nId = IDI_TREE_FIRST; nId <= IDI_TREE_LAST; ++nId) {
        const HICON hIcon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nId), IMAGE_ICON, nSize, nSize, 0));
        if (!hIcon)
            DebugTrace("CTreeImageList::Load() : LoadImage(%d) failed. GetLastError() = %d\n", nId,
                       static_cast<int>(GetLastError()));
        // An empty place keeps the later icons at their indices.
        ImageList_ReplaceIcon(m_hImageList, -1, hIcon ? hIcon : LoadIconA(nullptr, IDI_APPLICATION));
        if (hIcon)
            DestroyIcon(hIcon);
    }
    return TRUE;
}

void CTreeImageList::Reset() {
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
}

void InitTreeViewClass() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
}

device_tree::Source ReadTreeSource(const CDeviceControl& control, const CDeviceInformation& information) {
    device_tree::Source source;
    source.strPrinterName = control.GetPrinterName();
    source.strPortName = control.GetPortName();
    source.bConnected = control.IsConnected() != FALSE;
    const PRINTER_INFO_2A* pPrinter =
        information.m_bPrinterInfo ? information.m_PrinterInfo.GetInfo() : nullptr;
    source.bPrinterInfo = pPrinter != nullptr;
    if (pPrinter) {
        source.bShared = (pPrinter->Attributes & PRINTER_ATTRIBUTE_SHARED) != 0;
        source.strDriverName = pPrinter->pDriverName ? pPrinter->pDriverName : "";
    }
    source.bInfo = information.m_bInfo != FALSE;
    source.info = information.m_Info;
    source.bStatus = information.m_bStatus != FALSE;
    source.status = information.m_Status;
    source.strFirmwareVersion = information.m_strFirmwareVersion;
    source.strSerialNumber = information.m_strSerialNumber;
    source.strProductName = CNyAgentApp::GetProductName();
    WORD awVersion[4] = {};
    source.bProductVersion =
        CNyAgentApp::GetProductVersion(awVersion[0], awVersion[1], awVersion[2], awVersion[3]) != FALSE;
    for (int i = 0; i < 3; ++i)
        source.anProductVersion[i] = awVersion[i];
    return source;
}

device_tree::Item FillDeviceTree(const CDeviceControl& control, const CDeviceInformation& information,
                                 HWND hTree, HTREEITEM hParent) {
    device_tree::Item printer = device_tree::Build(ReadTreeSource(control, information), LoadString);
    const HTREEITEM hPrinter = InsertItem(hTree, hParent, printer);
    if (!hPrinter) {
        DebugTrace("CInfoDlg::OnInitDialog() : InsertItem(%s) returns NULL\n", printer.strText.c_str());
        return printer;
    }
    InsertChildren(hTree, hPrinter, printer, 0);
    return printer;
}
