#include "app/utf8_text.h"

#include <windows.h>

std::string Utf8FromWide(const std::wstring& strWide) {
    const int nWide = static_cast<int>(strWide.size());
    const int nUtf8 = WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    if (nUtf8 <= 0)
        return std::string();
    std::string strUtf8(static_cast<size_t>(nUtf8), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, &strUtf8[0], nUtf8, nullptr, nullptr);
    return strUtf8;
}

std::wstring WideFromUtf8(const std::string& strUtf8) {
    const int nUtf8 = static_cast<int>(strUtf8.size());
    const int nWide = MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), nUtf8, nullptr, 0);
    if (nWide <= 0)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), nUtf8, &strWide[0], nWide);
    return strWide;
}
