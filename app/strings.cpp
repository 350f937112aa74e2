#include <windows.h>

#include "app/strings.h"

#include <cstdarg>
#include <memory>
#include <new>

#include "app/format.h"

namespace {

struct LanguageSearch {
    LANGID wWanted;
    bool bFound;
};

BOOL CALLBACK OnResourceLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD wLanguage, LONG_PTR lParam) {
    LanguageSearch* pSearch = reinterpret_cast<LanguageSearch*>(lParam);
    if (wLanguage != pSearch->wWanted)
        return TRUE;
    pSearch->bFound = true;
    return FALSE;
}

// FindResourceEx on some systems settles for a related language when the
// exact one is missing; the fall-back chain below must decide that itself,
// so a block counts only when it exists in exactly the language asked for.
HRSRC FindExactStringBlock(HMODULE hModule, WORD wBlock, LANGID wLanguage) {
    LanguageSearch search = {wLanguage, false};
    if (!EnumResourceLanguagesW(hModule, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(wBlock), OnResourceLanguage,
                                reinterpret_cast<LONG_PTR>(&search)) &&
        !search.bFound)
        return nullptr; // no such block in any language: the system's error stands
    if (!search.bFound) {
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
        return nullptr;
    }
    return FindResourceExW(hModule, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(wBlock), wLanguage);
}

std::string Narrow(const wchar_t* pszText) {
    const int nBytes = WideCharToMultiByte(CP_ACP, 0, pszText, -1, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 1)
        return std::string();
    std::string text(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, pszText, -1, &text[0], nBytes, nullptr, nullptr);
    text.resize(static_cast<size_t>(nBytes - 1));
    return text;
}

} // namespace

std::string LoadString(unsigned int nID) {
    const WORD wBlock = static_cast<WORD>((nID >> 4) + 1);
    const unsigned int nEntry = nID & 0xF;
    const HMODULE hModule = GetModuleHandleW(nullptr);

    LANGID wLanguage = GetUserDefaultLangID();
    HRSRC hBlock = nullptr;
    for (;;) {
        hBlock = FindExactStringBlock(hModule, wBlock, wLanguage);
        if (hBlock)
            break;
        DebugTrace("LoadString() : Unable to found 0x%04x resources. GetLastError() = %d\n", wLanguage,
                   static_cast<int>(GetLastError()));
        if (wLanguage & 0xFC00)
            wLanguage = static_cast<LANGID>(wLanguage & 0x3FF);
        else if ((wLanguage & 0x3FF) == LANG_ENGLISH)
            return std::string();
        else
            wLanguage = LANG_ENGLISH;
    }

    const HGLOBAL hData = LoadResource(hModule, hBlock);
    if (!hData) {
        DebugTrace("LoadString() : LoadResource() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return std::string();
    }
    const WCHAR* pData = static_cast<const WCHAR*>(LockResource(hData));
    if (!pData) {
        DebugTrace("LoadString() : LockResource() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return std::string();
    }

    // Each entry is a count of UTF-16 code units followed by the text; walk
    // to the wanted one, staying inside the block.
    const DWORD dwUnits = SizeofResource(hModule, hBlock) / sizeof(WCHAR);
    DWORD dwPos = 0;
    const WCHAR* pText = nullptr;
    WORD wCount = 0;
    for (unsigned int i = 0; i <= nEntry && dwPos < dwUnits; ++i) {
        wCount = pData[dwPos];
        pText = pData + dwPos + 1;
        dwPos += 1 + wCount;
    }
    if (!pText || dwPos > dwUnits)
        wCount = 0;
    if (wCount == 0) {
        DebugTrace("LoadString() : Error getting string %d\n", static_cast<int>(nEntry));
        return std::string();
    }

    std::unique_ptr<WCHAR[]> pBuffer(new (std::nothrow) WCHAR[wCount + 1]());
    if (!pBuffer) {
        DebugTrace("LoadString() : Unable to allocate pBuffer. Required size = %d\n", wCount);
        return std::string();
    }
    CopyMemory(pBuffer.get(), pText, wCount * sizeof(WCHAR));
    return Narrow(pBuffer.get());
}

std::string FormatString(unsigned int nID, ...) {
    const std::string strFormat = LoadString(nID);
    va_list args;
    va_start(args, nID);
    std::string text = FormatV(strFormat.c_str(), args);
    va_end(args);
    return text;
}
