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
    int m_nInits = 0, m_nProbes = 0, m_nNcDestroys = 0, m_nDestroyed = 0;

protected:
    BOOL OnInitDialog() override {
        ++m_nInits;
        m_hBoundAtInit = GetSafeHwnd();
        return TRUE;
    }
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        m_nProbes += nMessage == kProbeMessage;
        m_nNcDestroys += nMessage == WM_NCDESTROY;
        lResult = static_cast<LRESULT>(wParam);
        return (nMessage == kProbeMessage || nMessage == WM_CTLCOLORDLG) && lParam == 1;
    }
    void OnDestroyed() override { ++m_nDestroyed; }
};

} // namespace

TEST(Dialog, BindsAtInitAnswersAndIsDestroyedOnce) {
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND hWnd = dialog.GetSafeHwnd();
    EXPECT_EQ(hWnd, dialog.m_hBoundAtInit);
    EXPECT_FALSE(IsWindowVisible(hWnd));
    EXPECT_FALSE(dialog.Create(nullptr));
    EXPECT_EQ(1, dialog.m_nInits);

    // Through DWLP_MSGRESULT, as the procedure's own return (a brush), or the
    // default handling's 0 when not handled.
    const struct {
        UINT nMessage;
        LPARAM lHandled;
        LRESULT lExpected;
    } cases[] = {{kProbeMessage, 1, 0x1234}, {kProbeMessage, 0, 0}, {WM_CTLCOLORDLG, 1, 0x1234}};
    for (const auto& c : cases)
        EXPECT_EQ(c.lExpected, SendMessageA(hWnd, c.nMessage, 0x1234, c.lHandled)) << c.nMessage;
    EXPECT_EQ(2, dialog.m_nProbes);

    dialog.DestroyWindow();
    dialog.DestroyWindow();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_EQ(1, dialog.m_nNcDestroys);
    EXPECT_EQ(1, dialog.m_nDestroyed);
}

TEST(Dialog, GoesWithItsObjectAndNeedsItsTemplate) {
    HWND hWnd = nullptr;
    {
        CProbeDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        hWnd = dialog.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hWnd));
    CProbeDialog missing(9999);
    EXPECT_FALSE(missing.Create(nullptr));
    EXPECT_EQ(nullptr, missing.GetSafeHwnd());
}
