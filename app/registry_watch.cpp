#include "app/registry_watch.h"

#include <vector>

#include "app/trace.h"

CRegistryWatch::CRegistryWatch(const wchar_t* pszSubKey, const wchar_t* pszValueName)
    : m_strSubKey(pszSubKey), m_strValueName(pszValueName),
      m_hEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!m_hEvent)
        DebugTrace("CRegistryWatch::CRegistryWatch() : CreateEvent() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
}

BOOL CRegistryWatch::Arm() {
    if (!m_hEvent)
        return FALSE;
    ResetEvent(m_hEvent.Get());
    LONG nError = ERROR_SUCCESS;
    if (!m_key.Get())
        nError = RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_strSubKey.c_str(), 0, KEY_NOTIFY | KEY_QUERY_VALUE,
                               m_key.Receive());
    if (nError == ERROR_SUCCESS)
        nError =
            RegNotifyChangeKeyValue(m_key.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, m_hEvent.Get(), TRUE);
    if (nError == ERROR_SUCCESS) {
        m_bFailureTraced = false;
        return TRUE;
    }
    // A key deleted under the watch is opened again next time.
    m_key = CUniqueKey();
    if (!m_bFailureTraced)
        DebugTrace("CRegistryWatch::Arm() : the key cannot be watched. Error = %d\n",
                   static_cast<int>(nError));
    m_bFailureTraced = true;
    return FALSE;
}

std::wstring CRegistryWatch::Read() const {
    CUniqueKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_strSubKey.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return std::wstring();
    DWORD dwType = 0;
    DWORD cbData = 0;
    if (RegQueryValueExW(key.Get(), m_strValueName.c_str(), nullptr, &dwType, nullptr, &cbData) !=
            ERROR_SUCCESS ||
        dwType != REG_SZ)
        return std::wstring();
    std::vector<wchar_t> buffer(cbData / sizeof(wchar_t) + 1, L'\0');
    cbData = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), m_strValueName.c_str(), nullptr, &dwType,
                         reinterpret_cast<BYTE*>(buffer.data()), &cbData) != ERROR_SUCCESS)
        return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
}
