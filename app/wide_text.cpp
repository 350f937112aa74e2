#include "app/wide_text.h"

#include <windows.h>

namespace {

std::wstring WideFrom(UINT nCodePage, const std::string& strText) {
    const int nText = static_cast<int>(strText.size());
    const int nWide = MultiByteToWideChar(nCodePage, 0, strText.data(), nText, nullptr, 0);
    if (nWide <= 0)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(nCodePage, 0, strText.data(), nText, &strWide[0], nWide);
    return strWide;
}

} // namespace

std::wstring Widen(const std::string& strNarrow) {
    return WideFrom(CP_ACP, strNarrow);
}

std::wstring WideFromUtf8(const std::string& strUtf8) {
    return WideFrom(CP_UTF8, strUtf8);
}

std::string Utf8FromWide(const std::wstring& strWide) {
    const int nWide = static_cast<int>(strWide.size());
    const int nUtf8 = WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    if (nUtf8 <= 0)
        return std::string();
    std::string strUtf8(static_cast<size_t>(nUtf8), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, &strUtf8[0], nUtf8, nullptr, nullptr);
    return strUtf8;
}
