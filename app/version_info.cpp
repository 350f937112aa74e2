#include "app/nyagent_app.h"

#include <cstdio>
#include <cstring>

#include "app/trace.h"

BOOL CNyAgentApp::GetVersionInformation(const std::string& strKey, std::string& strValue) {
    char szFile[] = "NyAgent.exe";
    DWORD dwHandle = 0;
    const DWORD dwSize = GetFileVersionInfoSizeA(szFile, &dwHandle);
    if (dwSize == 0) {
        DebugTrace(
            "CNyAgentApp::GetVersionInformation() : GetFileVersionInfoSize() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
        return FALSE;
    }
    const HGLOBAL hMemory = GlobalAlloc(GMEM_MOVEABLE, dwSize);
    void* pData = hMemory ? GlobalLock(hMemory) : nullptr;
    if (!pData) {
        DebugTrace("CNyAgentApp::GetVersionInformation() : GlobalAlloc() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        if (hMemory)
            GlobalFree(hMemory);
        return FALSE;
    }

    BOOL bFound = FALSE;
    WORD* pTranslations = nullptr;
    UINT nTranslationBytes = 0;
    if (!GetFileVersionInfoA(szFile, 0, dwSize, pData)) {
        DebugTrace(
            "CNyAgentApp::GetVersionInformation() : GetFileVersionInfo() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    } else if (!VerQueryValueA(pData, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslations),
                               &nTranslationBytes)) {
        DebugTrace(
            "CNyAgentApp::GetVersionInformation() : VerQueryValue(\"\\VarFileInfo\\Translation\") failed. "
            "GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    } else {
        for (UINT i = 0; i + 4 <= nTranslationBytes; i += 4) {
            const WORD wLanguage = pTranslations[i / 2];
            const WORD wCodePage = pTranslations[i / 2 + 1];
            char szPath[260];
            std::snprintf(szPath, sizeof(szPath), "\\StringFileInfo\\%04x%04x\\%s", wLanguage, wCodePage,
                          strKey.c_str());
            char* pszText = nullptr;
            UINT nLength = 0;
            if (VerQueryValueA(pData, szPath, reinterpret_cast<void**>(&pszText), &nLength) && pszText &&
                nLength != 0) {
                // The length counts the terminating zero when there is one.
                strValue.assign(pszText, strnlen(pszText, nLength));
                bFound = TRUE;
            }
        }
    }
    GlobalUnlock(hMemory);
    GlobalFree(hMemory);
    return bFound;
}

const char* CNyAgentApp::GetProductName() {
    static std::string s_strProductName;
    if (s_strProductName.empty() && !GetVersionInformation("ProductName", s_strProductName))
        DebugTrace("CNyAgentApp::GetProductName() : Unable to get product name\n");
    return s_strProductName.c_str();
}

BOOL CNyAgentApp::GetProductVersion(WORD& wMajor, WORD& wMinor, WORD& wBuild, WORD& wRevision) {
    const HMODULE hModule = GetModuleHandleW(nullptr);
    const HRSRC hVersion = FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
    if (!hVersion) {
        DebugTrace("CNyAgentApp::GetProductVersion() : FindResource() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    const HGLOBAL hData = LoadResource(hModule, hVersion);
    void* pData = hData ? LockResource(hData) : nullptr;
    if (!pData) {
        DebugTrace("CNyAgentApp::GetProductVersion() : LoadResource() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    if (!VerQueryValueW(pData, L"\\", reinterpret_cast<void**>(&pFixed), &nLength) || !pFixed ||
        nLength < sizeof(VS_FIXEDFILEINFO)) {
        DebugTrace("CNyAgentApp::GetProductVersion() : VerQueryValue() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    wMajor = HIWORD(pFixed->dwProductVersionMS);
    wMinor = LOWORD(pFixed->dwProductVersionMS);
    wBuild = HIWORD(pFixed->dwProductVersionLS);
    wRevision = LOWORD(pFixed->dwProductVersionLS);
    return TRUE;
}
