// Sets a registry tree aside for the length of a test: the test starts without
// it, and afterwards whatever the test left there is deleted and the original
// tree, if there was one, is put back.
#pragma once

#include <string>

#include <windows.h>

class CSavedRegistryTree {
public:
    CSavedRegistryTree(HKEY hRoot, const std::string& strPath);
    ~CSavedRegistryTree();
    CSavedRegistryTree(const CSavedRegistryTree&) = delete;
    CSavedRegistryTree& operator=(const CSavedRegistryTree&) = delete;

private:
    HKEY m_hRoot;
    std::string m_strPath;
    // Where the original tree waits under the same root; empty when there was none.
    std::string m_strBackup;
    // False when the original could not be copied and was left in place.
    bool m_bSetAside = true;
};
