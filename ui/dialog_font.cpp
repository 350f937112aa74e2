#include "ui/dialog_font.h"

#include <cstddef>

#include "framework/scoped_dc.h"

namespace {

int CALLBACK OnFontFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lParam) {
    *reinterpret_cast<bool*>(lParam) = true;
    return 0;
}

bool IsFaceInstalled(const char* pszFace) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, pszFace, LF_FACESIZE);
    bool bFound = false;
    if (const CWindowDC screen(nullptr); screen)
        EnumFontFamiliesExA(screen.Get(), &lf, OnFontFamily, reinterpret_cast<LPARAM>(&bFound), 0);
    return bFound;
}

std::string ChooseFace() {
    if (IsFaceInstalled(CDialogFont::kFaceName))
        return CDialogFont::kFaceName;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0])
        return metrics.lfMessageFont.lfFaceName;
    // Before Vista the structure is 4 bytes shorter.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0])
        return metrics.lfMessageFont.lfFaceName;
    return CDialogFont::kFaceName;
}

} // namespace

const std::string& CDialogFont::FaceName() {
    static const std::string strFace = ChooseFace();
    return strFace;
}

CUniqueFont CDialogFont::Create(unsigned nDpi, int nWeight) {
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(kPoints, static_cast<int>(nDpi), 72);
    lf.lfWeight = nWeight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, FaceName().c_str(), LF_FACESIZE);
    return CUniqueFont(CreateFontIndirectA(&lf));
}
