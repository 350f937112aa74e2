#include "sim/portmon/wide_text.h"

#include <windows.h>

std::string Narrow(const std::wstring& strWide) {
    if (strWide.empty())
        return std::string();
    const int nWide = static_cast<int>(strWide.size());
    const int nBytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strWide.data(), nWide, nullptr, 0,
                                           nullptr, nullptr);
    if (nBytes <= 0)
        return std::string();
    std::string strNarrow(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strWide.data(), nWide, &strNarrow[0], nBytes, nullptr,
                        nullptr);
    return strNarrow;
}

std::wstring Widen(const std::string& strNarrow) {
    if (strNarrow.empty())
        return std::wstring();
    const int nBytes = static_cast<int>(strNarrow.size());
    const int nWide = MultiByteToWideChar(CP_ACP, 0, strNarrow.data(), nBytes, nullptr, 0);
    if (nWide <= 0)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, strNarrow.data(), nBytes, &strWide[0], nWide);
    return strWide;
}
