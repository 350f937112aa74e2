#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "framework/unique_handle.h"
#include "framework/unique_key.h"

namespace {

bool IsOpen(HANDLE hHandle) {
    DWORD dwFlags = 0;
    return GetHandleInformation(hHandle, &dwFlags) != FALSE;
}

std::string TempFilePath() {
    char szDir[MAX_PATH] = {};
    char szPath[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, szDir);
    GetTempFileNameA(szDir, "nyh", 0, szPath);
    return szPath;
}

} // namespace

// Each kind knows its own empty value: a failed open leaves the owner empty,
// whichever value the call returns on failure.
TEST(UniqueHandle, AFailedOpenLeavesTheOwnerEmpty) {
    const CUniqueHandle hEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, "NyUniqueHandleTest.NoSuchEvent"));
    EXPECT_FALSE(hEvent);
    const CUniqueFile hFile(CreateFileA("Z:\\no\\such\\dir\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(hFile);
    EXPECT_EQ(INVALID_HANDLE_VALUE, hFile.Get());
    CUniqueKey key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\NyUniqueHandleTest\\None", 0,
                                           KEY_READ, key.Receive()));
    EXPECT_FALSE(key);
}

// The handle is closed exactly once, by its last owner.
TEST(UniqueHandle, MovesKeepTheHandleOpenUntilItsLastOwnerCloses) {
    const std::string strPath = TempFilePath();
    CUniqueFile hFile(CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(hFile);
    const HANDLE hRaw = hFile.Get();
    CUniqueFile moved(std::move(hFile));
    EXPECT_FALSE(hFile);
    EXPECT_TRUE(IsOpen(hRaw));
    CUniqueFile assigned;
    assigned = std::move(moved);
    EXPECT_FALSE(moved);
    EXPECT_EQ(hRaw, assigned.Get());
    EXPECT_TRUE(IsOpen(hRaw));
    assigned.Reset();
    EXPECT_FALSE(IsOpen(hRaw));

    CUniqueHandle hEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HANDLE hReleased = hEvent.Release();
    EXPECT_FALSE(hEvent);
    EXPECT_TRUE(IsOpen(hReleased));
    CloseHandle(hReleased);
}
