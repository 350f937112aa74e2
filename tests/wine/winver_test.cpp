#include <gtest/gtest.h>

#include "app/winver.h"

TEST(WindowsVersion, AnswersForEachSystem) {
    const struct {
        DWORD dwPlatform;
        DWORD dwMajor;
        DWORD dwMinor;
        BOOL b2000OrLater;
        BOOL b2000;
        BOOL bXPOrLater;
        BOOL b98;
    } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, FALSE, FALSE, FALSE, FALSE},  // Windows 95
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, FALSE, FALSE, FALSE, TRUE},  // Windows 98
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, FALSE, FALSE, FALSE, FALSE}, // Windows Me
        {VER_PLATFORM_WIN32_NT, 4, 0, FALSE, FALSE, FALSE, FALSE},       // NT 4.0
        {VER_PLATFORM_WIN32_NT, 5, 0, TRUE, TRUE, FALSE, FALSE},         // 2000
        {VER_PLATFORM_WIN32_NT, 5, 1, TRUE, FALSE, TRUE, FALSE},         // XP
        {VER_PLATFORM_WIN32_NT, 6, 0, TRUE, FALSE, TRUE, FALSE},         // Vista
        {VER_PLATFORM_WIN32_NT, 10, 0, TRUE, FALSE, TRUE, FALSE},        // 10
    };
    for (const auto& c : cases) {
        SetWindowsVersionForTesting(c.dwPlatform, c.dwMajor, c.dwMinor);
        EXPECT_EQ(c.b2000OrLater, IsWin2000OrLater()) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
        EXPECT_EQ(c.b2000, IsWin2000()) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
        EXPECT_EQ(c.bXPOrLater, IsWinXPOrLater()) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
        EXPECT_EQ(c.b98, IsWin98()) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
    }
    SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 10, 0);
}
