#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;

// Answers kProbeMessage and WM_CTLCOLORDLG with wParam when lParam is 1.
class CProbeDialog : public CDialog {
public:
    explicit CProbeDialog(UINT nTemplateId = IDD_DIALOG_MONITOR) : CDialog(nTemplateId) {}
    HWND m_hBoundAtInit = nullptr;
    int m_nInits = 0, m_nDestroyed = 0;

protected:
    BOOL OnInitDialog() override {
        ++m_nInits;
        m_hBoundAtInit = GetSafeHwnd();
        return TRUE;
    }
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        lResult = static_cast<LRESULT>(wParam);
        return (nMessage == kProbeMessage || nMessage == WM_CTLCOLORDLG) && lParam == 1;
    }
    void OnDestroyed() override { ++m_nDestroyed; }
};

} // namespace

TEST(Dialog, AnswersAndIsDestroyedOnce) {
    EXPECT_FALSE(CProbeDialog(9999).Create(nullptr));
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND hWnd = dialog.GetSafeHwnd();
    EXPECT_FALSE(IsWindowVisible(hWnd));
    EXPECT_FALSE(dialog.Create(nullptr));
    EXPECT_EQ(1, dialog.m_nInits);
    // Through DWLP_MSGRESULT, as the procedure's own return (a brush), or the
    // default handling's 0 when not handled.
    EXPECT_EQ(0x1234, SendMessageA(hWnd, kProbeMessage, 0x1234, 1));
    EXPECT_EQ(0x1234, SendMessageA(hWnd, WM_CTLCOLORDLG, 0x1234, 1));
    EXPECT_EQ(0, SendMessageA(hWnd, kProbeMessage, 0x1234, 0));
    dialog.DestroyWindow();
    dialog.DestroyWindow();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_EQ(1, dialog.m_nDestroyed);
    HWND hScoped = nullptr;
    {
        CProbeDialog scoped;
        ASSERT_TRUE(scoped.Create(nullptr));
        hScoped = scoped.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hScoped));
}

TEST(Dialog, ModalRunEndsOnCancelAndUnbinds) {
    EXPECT_EQ(-1, CProbeDialog(9999).DoModal(nullptr));
    static CProbeDialog dialog;
    const UINT_PTR nTimer = SetTimer(
        nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { dialog.PostMessage(WM_COMMAND, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal(nullptr));
    KillTimer(nullptr, nTimer);
    EXPECT_EQ(1, dialog.m_nDestroyed);
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_FALSE(IsWindow(dialog.m_hBoundAtInit));
}
