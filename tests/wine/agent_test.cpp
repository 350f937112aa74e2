// The real NyAgent.exe, started as a child process: one agent per session,
// "destroyall" from another process, the tray icon and its restart, the
// switches stored at the session's end and at Exit.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/registry.h"
#include "framework/unique_handle.h"
#include "tests/wine/shell_desktop.h"
#include "tests/wine/test_printer.h"

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
    // The agent's top-level windows, of one class or of any, shown or not.
    std::vector<HWND> Windows(const char* pszClass = nullptr, bool bShown = false) const {
        std::vector<HWND> windows;
        for (HWND hWnd = FindWindowExA(nullptr, nullptr, pszClass, nullptr); hWnd;
             hWnd = FindWindowExA(nullptr, hWnd, pszClass, nullptr)) {
            DWORD dwProcessId = 0;
            GetWindowThreadProcessId(hWnd, &dwProcessId);
            if (dwProcessId == m_dwProcessId && (!bShown || IsWindowVisible(hWnd)))
                windows.push_back(hWnd);
        }
        return windows;
    }
    // A top-level window of the agent's process of that class, waiting for it up to 5 s.
    HWND FindWindowOf(const char* pszClass, bool bShown = false) const {
        std::vector<HWND> windows;
        WaitFor([&] { return !(windows = Windows(pszClass, bShown)).empty(); }, 5000);
        return windows.empty() ? nullptr : windows[0];
    }
    HANDLE Process() const { return m_hProcess.Get(); }

private:
    CUniqueHandle m_hProcess;
    DWORD m_dwProcessId = 0;
};

// The shell's answer to a modification that changes nothing (NIM_MODIFY):
// TRUE only while the icon exists.
BOOL NotifyIcon(HWND hWnd, DWORD dwMessage = NIM_MODIFY) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hWnd;
    return Shell_NotifyIconA(dwMessage, &data);
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
        m_hMessageWindow = m_agent.FindWindowOf("CNyTaskBarApplet");
        ASSERT_TRUE(m_hMessageWindow && WaitFor([&] { return NotifyIcon(m_hMessageWindow); }, 5000));
    }
    // Chooses the tray menu's entry nFromBottom places up from its last
    // (1: Exit), with the keys a user would press.
    void Choose(int nFromBottom) {
        PostMessageA(m_hMessageWindow, RegisterWindowMessageA("CTaskBarAppletMessage"), 0, WM_RBUTTONUP);
        const HWND hMenu = m_agent.FindWindowOf("#32768", true);
        ASSERT_TRUE(hMenu);
        for (int i = 0; i < nFromBottom; ++i)
            PostMessageA(hMenu, WM_KEYDOWN, VK_UP, 0);
        PostMessageA(hMenu, WM_KEYDOWN, VK_RETURN, 0);
        // The command is handled once the agent waits for messages again.
        WaitFor([&] { return m_agent.Windows("#32768", true).empty(); }, 5000);
        WaitForInputIdle(m_agent.Process(), 5000);
    }
    // The session ends as the system ends it: every top-level window of the
    // agent is asked, then told, and the process is ended.
    void EndSession() {
        const std::vector<HWND> windows = m_agent.Windows();
        ASSERT_FALSE(windows.empty());
        for (const HWND hWnd : windows) {
            DWORD_PTR dwAnswer = 0;
            EXPECT_TRUE(SendMessageTimeoutA(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                            &dwAnswer));
            EXPECT_TRUE(dwAnswer);
        }
        for (const HWND hWnd : windows)
            SendMessageTimeoutA(hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, nullptr);
        TerminateProcess(m_agent.Process(), 0);
        m_agent.Wait(5000);
    }
    static std::pair<BOOL, BOOL> StoredSwitches() {
        BOOL bOpenOnError = 2, bOpenWhenPrinting = 2;
        CRegistry::GetOpenOnError(bOpenOnError, 2);
        CRegistry::GetOpenWhenPrinting(bOpenWhenPrinting, 2);
        return {bOpenOnError, bOpenWhenPrinting};
    }

    CAgent m_agent;
    HWND m_hMessageWindow = nullptr;
};

// The menu from the bottom: Exit, Open, Open when printing, Open on error.
constexpr int kExitEntry = 1;
constexpr int kOpenOnErrorEntry = 4;

// A second start in the session exits at once and the first runs on; it adds
// its icon again when the shell says it was restarted. "destroyall" from
// another process ends it in any letter case; without a slash or hyphen it is
// no flag, just another start. (How fast it ends is measured by
// scripts/bench-agent.sh, not here.)
TEST_F(AgentTest, SecondStartExitsAtOnceAndTheFirstRunsOnUntilDestroyAllInAnyLetterCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "/destroyall"}, {"destroyall", "-DestroyAll"}, {"/other", "/DESTROYALL"}};
    for (const auto& [pszSecond, pszFlag] : cases) {
        SCOPED_TRACE(pszFlag);
        StartAgent();
        CAgent second;
        ASSERT_TRUE(second.Start(pszSecond));
        EXPECT_EQ(0u, second.Wait(5000));
        EXPECT_TRUE(second.Windows("CNyTaskBarApplet").empty());
        EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), m_agent.Wait(300));
        ASSERT_TRUE(NotifyIcon(m_hMessageWindow, NIM_DELETE));
        ASSERT_FALSE(NotifyIcon(m_hMessageWindow));
        SendNotifyMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        EXPECT_TRUE(WaitFor([&] { return NotifyIcon(m_hMessageWindow); }, 2000));
        DestroyAll(pszFlag);
        EXPECT_EQ(0u, m_agent.Wait(5000));
        EXPECT_FALSE(NotifyIcon(m_hMessageWindow));
    }
}

} // namespace

// A switch turned off and on again from the menu, and both switches pushed by
// another program meanwhile: at the session's end as at Exit, only the switch
// the user touched is stored, and the other is left as the program stored it.
TEST_F(AgentTest, TheSessionsEndAndExitStoreOnlyTheSwitchesTheUserChanged) {
    for (const bool bExit : {false, true}) {
        ASSERT_EQ(0, CRegistry::SetOpenOnError(TRUE) + CRegistry::SetOpenWhenPrinting(TRUE));
        StartAgent();
        Choose(kOpenOnErrorEntry);
        Choose(kOpenOnErrorEntry);
        ASSERT_EQ(0, CRegistry::SetOpenOnError(FALSE) + CRegistry::SetOpenWhenPrinting(FALSE));
        if (bExit) {
            Choose(kExitEntry);
            EXPECT_EQ(0u, m_agent.Wait(5000));
        } else {
            EndSession();
        }
        EXPECT_EQ(std::make_pair(TRUE, FALSE), StoredSwitches()) << bExit;
    }
}
