// An owner-drawn push button that shows one of its icons: the selected one
// while pressed, the disabled one (if it has one) while disabled, the normal
// one otherwise. CHelpButton and CPropertiesButton name their icons.
#pragma once

#include <windows.h>

#include "ui/unique_gdi.h"

class CIconButton {
public:
    enum State { kNormal, kFocused, kSelected, kDisabled, kStates };
    // An icon resource and the trace line for when it cannot be loaded; id 0: no icon.
    struct Icon {
        int nResourceId;
        const char* pszTrace;
    };

    virtual ~CIconButton() = default;
    CIconButton(const CIconButton&) = delete;
    CIconButton& operator=(const CIconButton&) = delete;

    // Creates the button and loads its icons for nDpi; an icon that cannot be
    // loaded is traced and left out. The result is the button's creation's.
    BOOL Create(const char* pszText, DWORD dwStyle, const RECT& rc, HWND hParent, UINT nId, unsigned nDpi);
    // Loads the icons again at another DPI.
    void LoadIcons(unsigned nDpi);
    HWND GetSafeHwnd() const { return m_hWnd; }
    // WM_DRAWITEM of this button: the parent's background, then the icon at
    // (0, 0) in 16 x 16 pixels at the DPI; nothing when that icon is missing.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

protected:
    explicit CIconButton(const Icon (&icons)[kStates]);

private:
    State ChooseState(UINT nItemState) const;

    Icon m_aSpecs[kStates];
    CUniqueIcon m_aIcons[kStates];
    HWND m_hWnd = nullptr;
    int m_nIconSize = 16;
};
