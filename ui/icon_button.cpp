#include "ui/icon_button.h"

#include "app/trace.h"
#include "ui/status_layout.h"

CIconButton::CIconButton(const Icon (&icons)[kStates]) {
    for (int i = 0; i < kStates; ++i)
        m_aSpecs[i] = icons[i];
}

BOOL CIconButton::Create(const char* pszText, DWORD dwStyle, const RECT& rc, HWND hParent, UINT nId,
                         unsigned nDpi) {
    LoadIcons(nDpi);
    m_hWnd = CreateWindowExA(0, "BUTTON", pszText, dwStyle, rc.left, rc.top, rc.right - rc.left,
                             rc.bottom - rc.top, hParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                             GetModuleHandleA(nullptr), nullptr);
    return m_hWnd != nullptr;
}

void CIconButton::LoadIcons(unsigned nDpi) {
    m_nIconSize = geometry::ScaleForDpi(16, nDpi);
    for (int i = 0; i < kStates; ++i) {
        m_aIcons[i].Reset();
        if (!m_aSpecs[i].nResourceId)
            continue;
        m_aIcons[i].Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                        MAKEINTRESOURCEA(m_aSpecs[i].nResourceId), IMAGE_ICON,
                                                        m_nIconSize, m_nIconSize, LR_DEFAULTCOLOR)));
        if (!m_aIcons[i])
            DebugTrace("%s", m_aSpecs[i].pszTrace);
    }
}

CIconButton::State CIconButton::ChooseState(UINT nItemState) const {
    if (nItemState & ODS_SELECTED)
        return kSelected;
    if ((nItemState & ODS_DISABLED) && m_aSpecs[kDisabled].nResourceId)
        return kDisabled;
    return kNormal;
}

void CIconButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    // The parent's background first, as for any of its controls.
    const HWND hParent = GetParent(item.hwndItem);
    const auto hBrush =
        reinterpret_cast<HBRUSH>(SendMessageA(hParent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(item.hDC),
                                              reinterpret_cast<LPARAM>(item.hwndItem)));
    if (hBrush)
        FillRect(item.hDC, &item.rcItem, hBrush);
    if (const HICON hIcon = m_aIcons[ChooseState(item.itemState)].Get())
        DrawIconEx(item.hDC, 0, 0, hIcon, m_nIconSize, m_nIconSize, 0, nullptr, DI_NORMAL);
}
