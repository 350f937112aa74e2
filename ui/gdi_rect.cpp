#include "ui/gdi_rect.h"

RECT ToRECT(const geometry::Rect& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

geometry::Rect FromRECT(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

void FillSolid(HDC hdc, const geometry::Rect& rc, COLORREF cr) {
    if (rc.Width() <= 0 || rc.Height() <= 0)
        return;
    const RECT r = ToRECT(rc);
    SetBkColor(hdc, cr);
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}
