// The agent's per-user settings, as the package removes them when the
// operator asks for a full removal: the key of the user running the removal
// only, since other users' keys live in hives that are not loaded.
#pragma once

#include <windows.h>

class CUserSettings {
public:
    CUserSettings() = delete;

    // Deletes the agent's key with everything under it, then each parent key
    // that is left empty. TRUE when nothing of the agent's key remains.
    static BOOL Remove();

private:
    static void RemoveIfEmpty(const char* pszSubKey);
};
