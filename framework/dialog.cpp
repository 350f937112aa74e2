#include "framework/dialog.h"

#include "framework/nested_loop.h"

namespace {

// Messages whose answer is the dialog procedure's own return value rather
// than DWLP_MSGRESULT.
bool AnswersDirectly(UINT nMessage) {
    switch (nMessage) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

} // namespace

CDialog::CDialog(UINT nTemplateId) : m_nTemplateId(nTemplateId) {}

CDialog::~CDialog() {
    DestroyWindow();
}

BOOL CDialog::Create(HWND hParent, HINSTANCE hResources) {
    if (m_hWnd)
        return FALSE;
    if (!hResources)
        hResources = GetModuleHandleA(nullptr);
    CreateDialogParamA(hResources, MAKEINTRESOURCEA(m_nTemplateId), hParent, DialogProc,
                       reinterpret_cast<LPARAM>(this));
    return m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal(HWND hParent, HINSTANCE hResources) {
    if (m_hWnd)
        return -1;
    // Exit is under way: the dialog would only be ended again at once.
    if (CNestedLoop::IsEnding())
        return IDCANCEL;
    if (!hResources)
        hResources = GetModuleHandleA(nullptr);
    m_bModal = true;
    const CNestedLoop loop([this] { EndDialog(IDCANCEL); });
    const INT_PTR nResult = DialogBoxParamA(hResources, MAKEINTRESOURCEA(m_nTemplateId), hParent, DialogProc,
                                            reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return nResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::DestroyWindow() {
    if (!m_hWnd)
        return;
    ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CDialog::PostMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, nMessage, wParam, lParam);
}

UINT_PTR CDialog::SetTimer(UINT_PTR nId, UINT nElapseMs) {
    return ::SetTimer(m_hWnd, nId, nElapseMs, nullptr);
}

BOOL CDialog::KillTimer(UINT_PTR nId) {
    return ::KillTimer(m_hWnd, nId);
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

BOOL CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_INITDIALOG) {
        auto* pDialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, lParam);
        pDialog->m_hWnd = hWnd;
        return pDialog->OnInitDialog();
    }
    auto* pDialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pDialog)
        return FALSE;
    LRESULT lResult = 0;
    const BOOL bHandled = pDialog->OnMessage(nMessage, wParam, lParam, lResult);
    if (nMessage == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pDialog->m_hWnd = nullptr;
        pDialog->OnDestroyed();
    }
    if (!bHandled) {
        if (pDialog->m_bModal && nMessage == WM_COMMAND &&
            (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            pDialog->EndDialog(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    if (AnswersDirectly(nMessage))
        return static_cast<INT_PTR>(lResult);
    SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
