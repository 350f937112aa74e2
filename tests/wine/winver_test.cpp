#include <gtest/gtest.h>

#include "app/winver.h"

TEST(WindowsVersion, AnswersForEachSystem) {
    // Platform, major, minor; then 2000 or later, 2000, XP or later, 98.
    const struct {
        DWORD dwPlatform, dwMajor, dwMinor;
        BOOL b2000OrLater, b2000, bXPOrLater, b98;
    } cases[] = {{VER_PLATFORM_WIN32_WINDOWS, 4, 0, FALSE, FALSE, FALSE, FALSE},
                 {VER_PLATFORM_WIN32_WINDOWS, 4, 10, FALSE, FALSE, FALSE, TRUE},
                 {VER_PLATFORM_WIN32_WINDOWS, 4, 90, FALSE, FALSE, FALSE, FALSE},
                 {VER_PLATFORM_WIN32_NT, 4, 0, FALSE, FALSE, FALSE, FALSE},
                 {VER_PLATFORM_WIN32_NT, 5, 0, TRUE, TRUE, FALSE, FALSE},
                 {VER_PLATFORM_WIN32_NT, 5, 1, TRUE, FALSE, TRUE, FALSE},
                 {VER_PLATFORM_WIN32_NT, 10, 0, TRUE, FALSE, TRUE, FALSE}};
    for (const auto& c : cases) {
        SetWindowsVersionForTesting(c.dwPlatform, c.dwMajor, c.dwMinor);
        const BOOL answers[] = {IsWin2000OrLater(), IsWin2000(), IsWinXPOrLater(), IsWin98()};
        EXPECT_EQ(c.b2000OrLater, answers[0]) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
        EXPECT_EQ(c.b2000, answers[1]) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
        EXPECT_EQ(c.bXPOrLater, answers[2]) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
        EXPECT_EQ(c.b98, answers[3]) << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor;
    }
    SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 10, 0);
}
