#include "ui/export_file.h"

#include <commdlg.h>

#include <vector>

#include "app/format.h"
#include "app/strings.h"
#include "ui/device_export.h"

BOOL AskSaveFileName(HWND hOwner, StringId nFilesText, const char* pszExtension, std::string& strPath) {
    std::string strFilter = Format("%s (*.%s)|*.%s|%s (*.*)|*.*||", LoadString(nFilesText).c_str(),
                                   pszExtension, pszExtension, LoadString(IDS_ALL_FILES).c_str());
    for (char& c : strFilter)
        if (c == '|')
            c = '\0';
    std::vector<char> fileName(MAX_PATH, '\0');
    const std::string strInitial = Format("*.%s", pszExtension);
    strInitial.copy(fileName.data(), fileName.size() - 1);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = strFilter.c_str();
    ofn.lpstrFile = fileName.data();
    ofn.nMaxFile = static_cast<DWORD>(fileName.size());
    ofn.lpstrDefExt = pszExtension;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (!GetSaveFileNameA(&ofn))
        return FALSE;
    strPath = fileName.data();
    return TRUE;
}

std::string ExportTimeNow() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    std::tm local = {};
    local.tm_year = now.wYear - 1900;
    local.tm_mon = now.wMonth - 1;
    local.tm_mday = now.wDay;
    local.tm_wday = now.wDayOfWeek;
    local.tm_hour = now.wHour;
    local.tm_min = now.wMinute;
    local.tm_sec = now.wSecond;
    return device_export::FormatTime(local);
}
