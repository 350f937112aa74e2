// The tray icons need a taskbar: the test thread moves to Wine's shell
// desktop (run-on-shell.sh starts it) before it makes any window, and child
// processes are started there too.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

class CShellDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        if (const HDESK hDesktop = OpenDesktopA(kName, 0, FALSE, GENERIC_ALL))
            s_bOpen = SetThreadDesktop(hDesktop) != FALSE;
    }
    // The desktop for STARTUPINFO::lpDesktop; null when there is no shell desktop.
    static char* Name() { return s_bOpen ? const_cast<char*>(kName) : nullptr; }

private:
    static constexpr char kName[] = "shell";
    static inline bool s_bOpen = false;
};
