#include "app/wide_text.h"

#include <windows.h>

std::wstring Widen(const std::string& strNarrow) {
    const int nNarrow = static_cast<int>(strNarrow.size());
    const int nWide = MultiByteToWideChar(CP_ACP, 0, strNarrow.data(), nNarrow, nullptr, 0);
    if (nWide <= 0)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, strNarrow.data(), nNarrow, &strWide[0], nWide);
    return strWide;
}
