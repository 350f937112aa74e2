#include "tests/wine/saved_registry_tree.h"

#include <gtest/gtest.h>

#include "framework/unique_key.h"
#include "tests/wine/test_printer.h"

namespace {

// Copies the tree at strFrom under hRoot to strTo, which must not exist yet.
bool CopyTree(HKEY hRoot, const std::string& strFrom, const std::string& strTo) {
    CUniqueKey hTo;
    LONG lResult = RegCreateKeyExA(hRoot, strTo.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, hTo.Receive(), nullptr);
    if (lResult == ERROR_SUCCESS)
        lResult = RegCopyTreeA(hRoot, strFrom.c_str(), hTo.Get());
    EXPECT_EQ(ERROR_SUCCESS, lResult) << strFrom << " to " << strTo;
    return lResult == ERROR_SUCCESS;
}

void DeleteTree(HKEY hRoot, const std::string& strPath) {
    const LONG lResult = RegDeleteTreeA(hRoot, strPath.c_str());
    EXPECT_TRUE(lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND) << strPath << ": " << lResult;
}

} // namespace

CSavedRegistryTree::CSavedRegistryTree(HKEY hRoot, const std::string& strPath)
    : m_hRoot(hRoot), m_strPath(strPath) {
    CUniqueKey hKey;
    if (RegOpenKeyExA(hRoot, strPath.c_str(), 0, KEY_READ, hKey.Receive()) != ERROR_SUCCESS)
        return;
    m_strBackup = "Software\\" + UniqueName("NyAgentTestBackup");
    if (CopyTree(hRoot, strPath, m_strBackup)) {
        DeleteTree(hRoot, strPath);
        return;
    }
    // Without a complete copy the original stays where it is, untouched.
    DeleteTree(hRoot, m_strBackup);
    m_bSetAside = false;
}

CSavedRegistryTree::~CSavedRegistryTree() {
    if (!m_bSetAside)
        return;
    DeleteTree(m_hRoot, m_strPath);
    if (m_strBackup.empty())
        return;
    if (CopyTree(m_hRoot, m_strBackup, m_strPath))
        DeleteTree(m_hRoot, m_strBackup);
}
