// The real NyAgent.exe, started as a child process: one agent per session,
// "destroyall" from another process, the tray icon and its restart.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "framework/unique_handle.h"
#include "tests/wine/shell_desktop.h"

namespace {

const auto* const g_pShell = ::testing::AddGlobalTestEnvironment(new CShellDesktop);

class CAgent {
public:
    ~CAgent() {
        if (m_hProcess && Wait(0) == STILL_ACTIVE)
            TerminateProcess(m_hProcess.Get(), 99);
    }
    bool Start(const std::string& strArguments) {
        std::string strCommand = "\"" NYAGENT_EXE "\" " + strArguments;
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        si.lpDesktop = CShellDesktop::Name();
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return false;
        CloseHandle(pi.hThread);
        m_hProcess.Reset(pi.hProcess);
        m_dwProcessId = pi.dwProcessId;
        return true;
    }
    DWORD Wait(DWORD dwTimeoutMs) {
        WaitForSingleObject(m_hProcess.Get(), dwTimeoutMs);
        DWORD dwCode = 0;
        GetExitCodeProcess(m_hProcess.Get(), &dwCode);
        return dwCode;
    }
    // A top-level window of the agent's process of that class, waiting for it up to 5 s.
    HWND FindWindowOf(const char* pszClass, DWORD dwTimeoutMs = 5000) const {
        for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwTimeoutMs; Sleep(10))
            for (HWND hWnd = FindWindowExA(nullptr, nullptr, pszClass, nullptr); hWnd;
                 hWnd = FindWindowExA(nullptr, hWnd, pszClass, nullptr)) {
                DWORD dwProcessId = 0;
                GetWindowThreadProcessId(hWnd, &dwProcessId);
                if (dwProcessId == m_dwProcessId)
                    return hWnd;
            }
        return nullptr;
    }
    // The tray's message window, once the icon has been added.
    HWND MessageWindow() const { return FindWindowOf("CNyTaskBarApplet"); }
    HANDLE Process() const { return m_hProcess.Get(); }

private:
    CUniqueHandle m_hProcess;
    DWORD m_dwProcessId = 0;
};

BOOL NotifyIcon(DWORD dwMessage, HWND hWnd) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hWnd;
    return Shell_NotifyIconA(dwMessage, &data);
}

// The shell's answer to a modification that changes nothing: TRUE only while the icon exists.
BOOL IconExists(HWND hWnd) {
    return NotifyIcon(NIM_MODIFY, hWnd);
}

bool WaitForIcon(HWND hWnd, DWORD dwTimeoutMs) {
    for (const DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwTimeoutMs; Sleep(10))
        if (IconExists(hWnd))
            return true;
    return false;
}

// Ends every agent as another process does.
void DestroyAll(const char* pszFlag = "/destroyall") {
    CAgent destroyer;
    ASSERT_TRUE(destroyer.Start(pszFlag));
    ASSERT_EQ(0u, destroyer.Wait(10000));
}

class AgentTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (m_agent.Process() && m_agent.Wait(0) == STILL_ACTIVE) {
            DestroyAll();
            m_agent.Wait(5000);
        }
    }
    // Starts the agent and waits for its tray icon.
    void StartAgent() {
        ASSERT_TRUE(m_agent.Start(""));
        m_hMessageWindow = m_agent.MessageWindow();
        ASSERT_TRUE(m_hMessageWindow && WaitForIcon(m_hMessageWindow, 5000));
    }
    CAgent m_agent;
    HWND m_hMessageWindow = nullptr;
};

TEST_F(AgentTest, SecondStartInTheSessionExitsAtOnceAndTheFirstRunsOn) {
    StartAgent();
    // "destroyall" without a slash or hyphen is no flag: just another start.
    for (const char* pszArguments : {"", "destroyall", "/other"}) {
        CAgent second;
        ASSERT_TRUE(second.Start(pszArguments));
        EXPECT_EQ(0u, second.Wait(5000)) << pszArguments;
        EXPECT_EQ(nullptr, second.FindWindowOf("CNyTaskBarApplet", 0)) << pszArguments;
    }
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), m_agent.Wait(300));
    EXPECT_TRUE(IconExists(m_hMessageWindow));
}

TEST_F(AgentTest, DestroyAllInAnyLetterCaseEndsTheAgentWithinOnePollTick) {
    for (const char* pszFlag : {"/destroyall", "-DestroyAll", "/DESTROYALL"}) {
        StartAgent();
        DestroyAll(pszFlag);
        const DWORD dwSignalled = GetTickCount();
        EXPECT_EQ(0u, m_agent.Wait(5000)) << pszFlag;
        // One 100 ms tick, with slack for taking the agent down under Wine.
        EXPECT_LT(GetTickCount() - dwSignalled, 400u) << pszFlag;
        EXPECT_FALSE(IconExists(m_hMessageWindow)) << pszFlag;
    }
}

TEST_F(AgentTest, TaskbarCreatedAddsTheIconAgain) {
    StartAgent();
    ASSERT_TRUE(NotifyIcon(NIM_DELETE, m_hMessageWindow));
    ASSERT_FALSE(IconExists(m_hMessageWindow));
    SendNotifyMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitForIcon(m_hMessageWindow, 2000));
}

} // namespace
