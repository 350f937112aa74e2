#include "installer/user_settings.h"

#include "app/trace.h"

namespace {

// The settings store's key (app/registry.cpp) and its parents, innermost first.
const char* const kKeys[] = {"Software\\Tessel\\Tessel Photo\\NyAgent", "Software\\Tessel\\Tessel Photo",
                             "Software\\Tessel"};

} // namespace

BOOL CUserSettings::Remove() {
    const LONG lResult = RegDeleteTreeA(HKEY_CURRENT_USER, kKeys[0]);
    if (lResult != ERROR_SUCCESS && lResult != ERROR_FILE_NOT_FOUND) {
        DebugTrace("CUserSettings::Remove() : RegDeleteTree() returns %d\n", static_cast<int>(lResult));
        return FALSE;
    }
    RemoveIfEmpty(kKeys[1]);
    RemoveIfEmpty(kKeys[2]);
    return TRUE;
}

void CUserSettings::RemoveIfEmpty(const char* pszSubKey) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, pszSubKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    DWORD dwSubKeys = 0;
    DWORD dwValues = 0;
    const LONG lResult = RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &dwSubKeys, nullptr, nullptr,
                                          &dwValues, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(hKey);
    if (lResult == ERROR_SUCCESS && dwSubKeys == 0 && dwValues == 0)
        RegDeleteKeyA(HKEY_CURRENT_USER, pszSubKey);
}
