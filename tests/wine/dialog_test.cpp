#include <gtest/gtest.h>

#include <vector>

#include "framework/dialog.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;

// Records what the framework hands it; answers kProbeMessage and
// WM_CTLCOLORDLG with wParam as the answer when lParam is 1.
class CProbeDialog : public CDialog {
public:
    CProbeDialog() : CDialog(IDD_DIALOG_MONITOR) {}

    int m_nInits = 0;
    HWND m_hBoundAtInit = nullptr;
    int m_nDestroyed = 0;
    std::vector<UINT> m_messages;

protected:
    BOOL OnInitDialog() override {
        ++m_nInits;
        m_hBoundAtInit = GetSafeHwnd();
        return TRUE;
    }
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        m_messages.push_back(nMessage);
        if ((nMessage == kProbeMessage || nMessage == WM_CTLCOLORDLG) && lParam == 1) {
            lResult = static_cast<LRESULT>(wParam);
            return TRUE;
        }
        return FALSE;
    }
    void OnDestroyed() override { ++m_nDestroyed; }
};

int Seen(const CProbeDialog& dialog, UINT nMessage) {
    int nCount = 0;
    for (UINT nSeen : dialog.m_messages)
        nCount += nSeen == nMessage;
    return nCount;
}

} // namespace

TEST(Dialog, BindsAtInitAndStaysHidden) {
    CProbeDialog dialog;
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(1, dialog.m_nInits);
    EXPECT_NE(nullptr, dialog.m_hBoundAtInit);
    EXPECT_EQ(dialog.m_hBoundAtInit, dialog.GetSafeHwnd());
    EXPECT_FALSE(IsWindowVisible(dialog.GetSafeHwnd()));
    EXPECT_FALSE(dialog.Create(nullptr));
    EXPECT_EQ(1, dialog.m_nInits);
}

TEST(Dialog, AnswersThroughTheRightChannel) {
    struct Case {
        UINT nMessage;
        WPARAM wAnswer;
        LPARAM lHandled;
        LRESULT lExpected;
    };
    // A handled message answers with its result whether it goes through
    // DWLP_MSGRESULT (the probe) or is the procedure's own return (a colour
    // brush); an unhandled one gets the default dialog handling's 0.
    const Case cases[] = {
        {kProbeMessage, 0x1234, 1, 0x1234},
        {kProbeMessage, 0x1234, 0, 0},
        {WM_CTLCOLORDLG, 0x4321, 1, 0x4321},
    };
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nMessage);
        EXPECT_EQ(c.lExpected, SendMessageA(dialog.GetSafeHwnd(), c.nMessage, c.wAnswer, c.lHandled));
    }
    EXPECT_EQ(2, Seen(dialog, kProbeMessage));
}

TEST(Dialog, PostedMessagesAndTimersReachTheHandler) {
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_TRUE(dialog.PostMessage(kProbeMessage));
    ASSERT_EQ(5u, dialog.SetTimer(5, 10));
    MSG msg;
    const DWORD dwStart = GetTickCount();
    while (Seen(dialog, WM_TIMER) == 0 && GetTickCount() - dwStart < 2000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(5);
    }
    EXPECT_TRUE(dialog.KillTimer(5));
    EXPECT_EQ(1, Seen(dialog, kProbeMessage));
    EXPECT_EQ(1, Seen(dialog, WM_TIMER));
}

TEST(Dialog, DestroyedOnceByCallOrByTheObjectsEnd) {
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND hWnd = dialog.GetSafeHwnd();
    dialog.DestroyWindow();
    dialog.DestroyWindow();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_EQ(1, dialog.m_nDestroyed);
    EXPECT_EQ(1, Seen(dialog, WM_NCDESTROY));

    HWND hSecond = nullptr;
    {
        CProbeDialog scoped;
        ASSERT_TRUE(scoped.Create(nullptr));
        hSecond = scoped.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hSecond));
}

TEST(Dialog, MissingTemplateCreatesNothing) {
    class CNoTemplate : public CDialog {
    public:
        CNoTemplate() : CDialog(9999) {}
    } dialog;
    EXPECT_FALSE(dialog.Create(nullptr));
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
}
