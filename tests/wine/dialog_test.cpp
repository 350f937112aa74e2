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

TEST(Dialog, BindsAtInitAnswersAndIsDestroyedOnce) {
    EXPECT_FALSE(CProbeDialog(9999).Create(nullptr));
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const HWND hWnd = dialog.GetSafeHwnd();
    EXPECT_EQ(hWnd, dialog.m_hBoundAtInit);
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

namespace {

// Posts itself one message once it runs; kProbeMessage with lParam 2 ends the
// dialog with wParam.
class CModalProbe : public CProbeDialog {
public:
    CModalProbe(UINT nTemplateId, UINT nMessage, WPARAM wParam, LPARAM lParam)
        : CProbeDialog(nTemplateId), m_nMessage(nMessage), m_wParam(wParam), m_lParam(lParam) {}

protected:
    BOOL OnInitDialog() override {
        CProbeDialog::OnInitDialog();
        PostMessage(m_nMessage, m_wParam, m_lParam);
        return TRUE;
    }
    BOOL OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        if (nMessage == kProbeMessage && lParam == 2) {
            EndDialog(static_cast<int>(wParam));
            return TRUE;
        }
        return CProbeDialog::OnMessage(nMessage, wParam, lParam, lResult);
    }

private:
    UINT m_nMessage;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

} // namespace

TEST(Dialog, ModalRunEndsWithItsResultAndUnbinds) {
    struct Case {
        UINT nTemplateId, nMessage;
        WPARAM wParam;
        INT_PTR nExpected;
        int nInits;
    } const cases[] = {
        {IDD_DIALOG_MONITOR, kProbeMessage, 42, 42, 1},
        {IDD_DIALOG_MONITOR, WM_COMMAND, IDCANCEL, IDCANCEL, 1},
        {IDD_DIALOG_MONITOR, WM_COMMAND, IDOK, IDOK, 1},
        {9999, kProbeMessage, 42, -1, 0},
    };
    for (const Case& c : cases) {
        CModalProbe dialog(c.nTemplateId, c.nMessage, c.wParam, 2);
        EXPECT_EQ(c.nExpected, dialog.DoModal(nullptr)) << c.nMessage << " " << c.wParam;
        EXPECT_EQ(c.nInits, dialog.m_nInits);
        EXPECT_EQ(c.nInits, dialog.m_nDestroyed);
        EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
        EXPECT_FALSE(IsWindow(dialog.m_hBoundAtInit));
    }
}
