// One string value of a key under HKEY_LOCAL_MACHINE, read when asked and
// watched for changes: the watch's event is signalled when a value of the key
// is set or removed, and must be armed again after each signal, from a thread
// that lives as long as the watch. A key that does not exist yet is looked
// for again at each Arm.
#pragma once

#include <string>

#include "framework/unique_handle.h"
#include "framework/unique_key.h"

class CRegistryWatch {
public:
    CRegistryWatch(const wchar_t* pszSubKey, const wchar_t* pszValueName);
    CRegistryWatch(const CRegistryWatch&) = delete;
    CRegistryWatch& operator=(const CRegistryWatch&) = delete;

    // Manual-reset; null when it could not be made.
    HANDLE GetEvent() const { return m_hEvent.Get(); }
    // Resets the event and asks to be told of the next change. FALSE while the
    // key cannot be opened or watched (traced when that begins).
    BOOL Arm();
    // The value's text; empty when the key or the value is missing or not a string.
    std::wstring Read() const;

private:
    std::wstring m_strSubKey;
    std::wstring m_strValueName;
    CUniqueHandle m_hEvent;
    CUniqueKey m_key;
    bool m_bFailureTraced = false;
};
